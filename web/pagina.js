// The teaching page: one state (what the teacher chose, what the worker
// recorded, the step shown), drawn by each panel's module; the address is
// the choices' serialisation. Everything shown comes from the engine's own
// record of the run (pagerun's JSON); the page only draws it.
// document.body.dataset.estado says 'carregando', 'pronto' or 'ocupado',
// dataset.msPronto when the page became ready (ms from its opening) and
// dataset.msPasso how long the last step took to draw, for tests, for
// measurements (tests/medir.py) and for teachers' own scripts.

import { criarCliente, Interrompida } from './cliente.js';
import { objetivoTomado, passoDaSeparacao, pilhasDaPosicao, posicaoDasPilhas, prepararBusca }
  from './dados.js';
import { aoMudarTamanho, desenharPinos } from './desenho.js';
import {
  avisoDeMemoria, configuracoes, ePeso, erroDaPosicao, escreverEndereco, lerEndereco, motivoSemPadrao,
  opcoesDaBusca, opcoesDoGrafico, PADRAO, posicaoUsada,
} from './estado.js';
import { explicarPasso } from './explicacao.js';
import { desenharArvore, ligarVista, novaVista } from './arvore.js';
import { desenharEspaco, MAIOR_COMPLETO } from './espaco.js';
import { desenharFronteira } from './fronteira.js';
import { desenharGrafico } from './grafico.js';

const el = (id) => document.getElementById(id);

const estado = {
  tabela: null,
  escolhas: { ...PADRAO },
  buscas: [],  // prepared runs (dados.prepararBusca), one or two
  passo: 0,  // the step shown, from 0
  interrompida: false,
  separacao: null,  // the step where two runs part, from 0
  vistas: [novaVista(), novaVista()],
  avisado: '',  // the setup whose memory warning was shown
  relogio: null,
  animacao: null,
  progresso: null,  // the search's last progress, not yet written
};

const cliente = criarCliente({
  pronto(tabela) {
    const primeira = estado.tabela === null;
    estado.tabela = tabela;
    preencherEscolhas(tabela);
    if (document.body.dataset.estado === 'carregando') {
      marcar('pronto');
      document.body.dataset.msPronto = performance.now().toFixed(0);
    }
    if (primeira) abrirEndereco();
  },
  progresso(progresso) {
    // Written at most four times a second, the last heard: each writing
    // costs the browser a layout and a paint beside the search.
    const pendente = estado.progresso !== null;
    estado.progresso = progresso;
    if (!pendente) setTimeout(mostrarProgresso, 250);
  },
});

function mostrarProgresso() {
  if (!estado.progresso || document.body.dataset.estado !== 'ocupado') return;
  const { examinados, profundidade } = estado.progresso;
  estado.progresso = null;
  el('progresso').textContent = `Nos abertos: ${examinados}, profundidade instantanea: ${profundidade}`;
}

function marcar(nome) {
  document.body.dataset.estado = nome;
  const ocupado = nome === 'ocupado';
  el('buscar').disabled = ocupado;
  el('comparar').disabled = ocupado;
  el('parar').disabled = !ocupado;
}

// ---- the choices: fields <-> state <-> address ---------------------------------

const metodoPorCodigo = (codigo) => estado.tabela.metodos.find((m) => String(m.codigo) === codigo);
const metodoPorOpcao = (opcao) => estado.tabela.metodos.find((m) => m.opcao === opcao);

// The selects filled from the engine's table (it names every method).
function preencherEscolhas(tabela) {
  const preencher = (id, itens) => {
    const campo = el(id);
    const valor = campo.value;
    campo.replaceChildren(...itens.map(([valorItem, texto]) => {
      const opcao = document.createElement('option');
      opcao.value = valorItem;
      opcao.textContent = texto;
      return opcao;
    }));
    if (itens.some(([v]) => v === valor)) campo.value = valor;
  };
  for (const sufixo of ['', '2']) {
    preencher(`metodo${sufixo}`, tabela.metodos.map((m) => [String(m.codigo), m.nome]));
    preencher(`heuristica${sufixo}`, tabela.heuristicas.map((h) => [h, h]));
    preencher(`desempate${sufixo}`, tabela.desempates.map((d) => [d, d]));
  }
  // The second search starts on breadth-first search, to set beside A*.
  if (metodoPorOpcao('largura')) el('metodo2').value = String(metodoPorOpcao('largura').codigo);
  mostrarOpcoesDoMetodo();
  atualizarPadrao();
}

// Whether the option `campo` ('limite', 'peso', 'heuristica' or 'desempate')
// applies to the method named `opcao`, as the engine's table says.
const aplica = (opcao, campo) => Boolean(metodoPorOpcao(opcao)?.[campo]);

// The estimate, tie order, limit and weight fields are shown for the methods
// they apply to, so the bar keeps to one line.
function mostrarOpcoesDoMetodo() {
  const opcoes = [el('metodo').value, el('ladoalado').checked ? el('metodo2').value : '']
    .map((codigo) => metodoPorCodigo(codigo)).filter(Boolean);
  for (const campo of ['heuristica', 'desempate', 'limite', 'peso']) {
    el(`rotulo-${campo}`).hidden = !opcoes.some((m) => m[campo]);
  }
}

function pecasDoCampo() {
  const texto = el('pecas').value.trim();
  const n = Number(texto);
  return /^\d+$/.test(texto) && n >= 1 && n <= 15 ? n : null;
}

function lerCampos() {
  const e = estado.escolhas;
  const opcao = (id) => metodoPorCodigo(el(id).value)?.opcao ?? PADRAO.metodo;
  Object.assign(e, {
    pecas: pecasDoCampo() ?? e.pecas,
    metodo: opcao('metodo'), heuristica: el('heuristica').value,
    desempate: el('desempate').value, grafo: el('grafo').checked,
    inicio: el('inicio').value.trim(), objetivo: el('objetivo').value.trim(),
    gravados: Math.min(100000, Math.max(1, Math.floor(Number(el('gravados').value)) || 2000)),
    metodo2: el('ladoalado').checked ? opcao('metodo2') : '',
    heuristica2: el('heuristica2').value, desempate2: el('desempate2').value,
    grafo2: el('grafo2').checked,
    limite: el('limite').value.trim(), peso: el('peso').value.trim(),
  });
  return e;
}

function escreverCampos(e) {
  el('pecas').value = e.pecas;
  el('metodo').value = String(metodoPorOpcao(e.metodo).codigo);
  el('heuristica').value = e.heuristica;
  el('desempate').value = e.desempate;
  el('grafo').checked = e.grafo;
  el('inicio').value = e.inicio;
  el('objetivo').value = e.objetivo;
  el('gravados').value = e.gravados;
  el('ladoalado').checked = e.metodo2 !== '';
  if (e.metodo2) el('metodo2').value = String(metodoPorOpcao(e.metodo2).codigo);
  el('heuristica2').value = e.heuristica2;
  el('desempate2').value = e.desempate2;
  el('grafo2').checked = e.grafo2;
  el('limite').value = e.limite;
  el('peso').value = e.peso;
  mostrarOpcoesDoMetodo();
  desenharQuadros();
}

function atualizarEndereco() {
  const passo = estado.buscas.length ? estado.passo + 1 : null;
  const consulta = escreverEndereco(estado.escolhas, passo);
  try {
    history.replaceState(null, '', consulta || location.pathname);
  } catch {
    // Some browsers refuse to change the address of a page opened from
    // disk; the page works the same without it.
  }
}

// Opening an address with choices restores them, searches and goes to its
// step.
async function abrirEndereco() {
  if (!location.search) return;
  const { escolhas, passo, recusados } = lerEndereco(location.search, estado.tabela);
  estado.escolhas = escolhas;
  escreverCampos(escolhas);
  if (recusados.length) {
    el('mensagem').textContent = `O endereco tem valores que a pagina nao conhece: ${recusados.join(', ')}.`;
    return;
  }
  await buscar();
  if (passo !== null) irPara(passo - 1);
}

// ---- the start and goal pictures -------------------------------------------

const quadros = {
  inicio: { pino: 1, pega: null, nome: 'inicio' },
  objetivo: { pino: 3, pega: null, nome: 'objetivo' },
};

// A wrong position is shown at its field, kept as typed; the pictures draw
// the typed position, or none.
function desenharQuadro(quadro) {
  const n = pecasDoCampo() ?? estado.escolhas.pecas;
  const campo = el(quadro.nome);
  campo.placeholder = String(quadro.pino).repeat(n);
  const erro = erroDaPosicao(campo.value.trim(), n);
  el(`${quadro.nome}-erro`).textContent = erro;
  campo.setAttribute('aria-invalid', erro ? 'true' : 'false');
  const desenho = el(`desenho-${quadro.nome}`);
  if (erro) {
    desenharPinos(desenho, [[], [], []], n);
    return;
  }
  const pilhas = pilhasDaPosicao(posicaoUsada(campo.value.trim(), n, quadro.pino));
  const pega = quadro.pega === null ? -1 : pilhas[quadro.pega].at(-1) ?? -1;
  desenharPinos(desenho, pilhas, n, pega, (pino) => escolherPino(quadro, pino), quadro.nome);
}

function desenharQuadros() {
  for (const quadro of Object.values(quadros)) desenharQuadro(quadro);
  atualizarPadrao();
}

// The first choice of a peg picks up its top piece; the second puts it down.
function escolherPino(quadro, pino) {
  const n = pecasDoCampo() ?? estado.escolhas.pecas;
  const pilhas = pilhasDaPosicao(posicaoUsada(el(quadro.nome).value.trim(), n, quadro.pino));
  if (quadro.pega === null) {
    if (pilhas[pino].length > 0) quadro.pega = pino;
  } else {
    pilhas[pino].push(pilhas[quadro.pega].pop());
    pilhas[pino].sort((a, b) => b - a);
    el(quadro.nome).value = posicaoDasPilhas(pilhas, n);
    quadro.pega = null;
  }
  desenharQuadro(quadro);
  atualizarPadrao();
  lerCampos();
  atualizarEndereco();
  // The picture was drawn anew: the focus goes back to the peg chosen.
  el(`desenho-${quadro.nome}`).querySelector(`[data-pino="${pino + 1}"]`)?.focus();
}

// padrao is offered only when the goal is every piece on peg 3.
function atualizarPadrao() {
  const n = pecasDoCampo() ?? estado.escolhas.pecas;
  const motivo = motivoSemPadrao(el('objetivo').value.trim(), n);
  for (const sufixo of ['', '2']) {
    const opcao = [...el(`heuristica${sufixo}`).options].find((o) => o.value === 'padrao');
    if (!opcao) continue;
    // The text stays as it is: a select that changes width would move the
    // bar's buttons under the pointer.
    opcao.disabled = motivo !== '';
    opcao.title = motivo;
    el(`heuristica${sufixo}`).title = motivo ? `Heuristica: ${motivo}.` : '';
  }
  el('heuristica-nota').textContent = motivo ? `Heuristica: ${motivo}.` : '';
}

// What keeps the choices from being searched, said at the field concerned;
// '' when nothing does.
function erroDasEscolhas(configs) {
  if (pecasDoCampo() === null) return 'O numero de pecas e um inteiro de 1 a 15.';
  for (const quadro of Object.values(quadros)) {
    const erro = erroDaPosicao(el(quadro.nome).value.trim(), pecasDoCampo());
    if (erro) {
      el('escolhas').hidden = false;
      el('mais').setAttribute('aria-expanded', 'true');
      return `A posicao de ${quadro.nome} nao vale: ${erro}`;
    }
  }
  const limite = configs.find((c) => c.limite !== '' && !/^\d{1,7}$/.test(c.limite));
  if (limite) return 'O limite e um inteiro de 0 a 1000000 (vazio: nenhum).';
  if (configs.some((c) => c.peso !== '' && !ePeso(c.peso))) {
    return 'O peso e um decimal de 0.01 a 100 com ate duas casas (vazio: 2).';
  }
  const semPadrao = configs.find((c) => c.heuristica === 'padrao' && c.metodo !== 'largura'
    && motivoSemPadrao(c.objetivo, c.n));
  if (semPadrao) return `A heuristica ${motivoSemPadrao(semPadrao.objetivo, semPadrao.n)}: escolha outra.`;
  return '';
}

// ---- searching ----------------------------------------------------------------

function titulo(config) {
  const partes = [metodoPorOpcao(config.metodo).nome];
  if (aplica(config.metodo, 'heuristica')) partes.push(`heuristica ${config.heuristica}`);
  if (aplica(config.metodo, 'desempate')) partes.push(`desempate ${config.desempate}`);
  if (config.grafo) partes.push('grafo');
  if (config.limite) partes.push(`limite ${config.limite}`);
  if (config.peso) partes.push(`peso ${config.peso}`);
  return partes.join(', ');
}

// The program's words for a search that stopped for memory, or could not
// start for it.
const PARA_POR_MEMORIA = /^hanoi: memoria /;

// Resolves once the browser has painted what changed: the search then runs
// without the page's layout and painting beside it on the same cores (the
// page's time of a search is its worker's wall time). A page out of sight
// paints nothing: it waits 100 ms at most.
function quadroPintado() {
  return new Promise((pronto) => {
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(pronto)));
    setTimeout(pronto, 100);
  });
}

async function buscar() {
  pararRelogios();
  limparResultados();
  const escolhas = lerCampos();
  const configs = configuracoes(escolhas, aplica);
  const erro = erroDasEscolhas(configs);
  if (erro) {
    el('mensagem').textContent = erro;
    return;
  }
  const aviso = configs.map((c) => avisoDeMemoria(c, estado.tabela.memoria)).find(Boolean);
  const chave = JSON.stringify(configs);
  if (aviso && estado.avisado !== chave) {
    estado.avisado = chave;
    el('mensagem').textContent = aviso;
    el('buscar').textContent = 'Buscar assim mesmo';
    return;
  }
  estado.avisado = '';
  el('buscar').textContent = 'Buscar';
  atualizarEndereco();
  el('progresso').textContent = 'Buscando...';
  estado.progresso = null;
  marcar('ocupado');
  await quadroPintado();
  const novas = [];
  const mensagens = [];
  let interrompida = false;
  for (const config of configs) {
    try {
      const dados = await cliente.buscar(opcoesDaBusca(config), `${config.n} ${metodoPorOpcao(config.metodo).codigo}`,
        escolhas.gravados, escolhas.memoria);
      if (dados.erro) mensagens.push(dados.erro);
      if (!dados.nos) break;
      novas.push(prepararBusca(config, dados));
    } catch (falha) {
      // Stopped, or the module failed: the steps recorded so far and the
      // figures last heard stay, marked as such.
      mensagens.push(falha.message + textoDoProgresso(falha.progresso));
      if (falha.gravacao) {
        novas.push(prepararBusca(config, { ...falha.gravacao, interrompida: true, progresso: falha.progresso }));
      }
      interrompida = falha instanceof Interrompida;
      break;
    }
  }
  if (novas.some((b) => PARA_POR_MEMORIA.test(b.dados.erro || ''))) cliente.renovar();
  el('progresso').textContent = '';
  marcar('pronto');
  el('mensagem').textContent = mensagens.join('\n').trim();
  if (novas.length === 0 || novas[0].dados.passos.length === 0) return;
  estado.buscas = novas;
  estado.interrompida = interrompida;
  estado.passo = 0;
  estado.separacao = novas.length > 1 ? passoDaSeparacao(novas[0], novas[1]) : null;
  // The same view objects, set back: the trees' pan and zoom hold them.
  for (const vista of estado.vistas) Object.assign(vista, novaVista());
  el('escolhas').hidden = true;
  el('mais').setAttribute('aria-expanded', 'false');
  mostrarResultado();
  mostrarPasso();
}

// The last figures a stopped search sent, in words ('' if none came).
function textoDoProgresso(progresso) {
  if (!progresso) return '';
  return ` Ate ali: pelo menos ${progresso.examinados} estados examinados (o motor avisa a cada`
    + ` 100000), profundidade ${progresso.profundidade} no ultimo aviso.`;
}

function parar() {
  cliente.parar();
}

// Nothing of the last search stays on the screen once another starts, even
// if this one ends in an error, is stopped or never starts.
function limparResultados() {
  estado.buscas = [];
  estado.passo = 0;
  estado.separacao = null;
  for (const nome of ['contador', 'separacao', 'estatisticas', 'estatisticas2', 'pinos-solucao',
    'movimento', 'movimentos', 'movimento2', 'movimentos2']) {
    el(nome).textContent = '';
  }
  for (const painel of document.querySelectorAll('.busca')) {
    for (const parte of painel.querySelectorAll('.titulo-busca, .pinos-passo, .estado code, .numeros,'
      + ' .motivo, .filhos ul, .titulo-fronteira, svg.heap, .nota, table.aberta tbody,'
      + ' .desenho-arvore')) {
      parte.replaceChildren();
    }
    const canvas = painel.querySelector('canvas');
    canvas.getContext('2d').clearRect(0, 0, canvas.width, canvas.height);
  }
  el('busca2').hidden = true;
  document.body.classList.remove('ladoalado');
  el('estatisticas2').hidden = true;
  el('movimentos2').hidden = true;
  el('ir-separacao').hidden = true;
  for (const botao of ['primeiro', 'anterior', 'tocar', 'proximo', 'ultimo', 'linha', 'animar']) {
    el(botao).disabled = true;
  }
}

// ---- the step shown -------------------------------------------------------------

function ultimoPasso() {
  return Math.max(...estado.buscas.map((b) => b.dados.passos.length)) - 1;
}

function irPara(k) {
  if (estado.buscas.length === 0) return;
  estado.passo = Math.max(0, Math.min(k, ultimoPasso()));
  mostrarPasso();
  atualizarEndereco();
}

function mostrarBusca(busca, lado) {
  const painel = el(`busca${lado + 1}`);
  const { dados, config } = busca;
  const k = Math.min(estado.passo, dados.passos.length - 1);
  const palavras = explicarPasso(busca, k, config.metodo);
  const tomado = objetivoTomado(busca, k);
  // The states taken so far, as the trace numbers them (a state dropped
  // is not one).
  const tomados = `${busca.exames[k]} estados examinados`;
  painel.querySelector('.titulo-busca').textContent = `${titulo(config)}: `
    + (dados.interrompida ? `${tomados}, busca interrompida` : `${tomados} de ${dados.examinados}`)
    + (estado.passo > k ? ' (terminou aqui)' : '');
  painel.querySelector('.estado code').textContent = palavras.estado;
  painel.querySelector('.numeros').textContent = palavras.numeros + (tomado ? '  objetivo' : '');
  painel.querySelector('.motivo').textContent = palavras.motivo;
  painel.querySelector('.filhos summary').textContent = `Filhos empilhados (${palavras.filhos.length})`;
  painel.querySelector('.filhos ul').replaceChildren(...palavras.filhos.map((linha) => {
    const item = document.createElement('li');
    item.textContent = linha;
    return item;
  }));
  desenharPinos(painel.querySelector('.pinos-passo'), dados.nos[dados.passos[k][0]][3], dados.pecas);
  desenharFronteira(painel.querySelector('.fronteira'), busca, k);
  desenharArvore(painel.querySelector('.desenho-arvore'), painel.querySelector('.arvore .nota'), busca, k,
    estado.vistas[lado], tomado);
  desenharEspaco(painel.querySelector('canvas'), busca, k);
  painel.querySelector('.nota-espaco').textContent = dados.pecas > MAIOR_COMPLETO
    ? `3^${dados.pecas} posicoes: o fundo e o triangulo de ${MAIOR_COMPLETO} pecas; os pontos azuis, as posicoes examinadas.`
    : `${3 ** dados.pecas} posicoes; um movimento liga dois pontos vizinhos.`;
}

function mostrarPasso() {
  const inicio = performance.now();
  const ultimo = ultimoPasso();
  const parcial = estado.buscas.some((b) => !b.dados.completo && !b.dados.interrompida);
  el('contador').textContent = `Passo ${estado.passo + 1} de ${ultimo + 1}`
    + (estado.interrompida ? ' (busca interrompida: os passos gravados ate a parada)' : '')
    + (parcial ? ` (so os primeiros ${ultimo + 1} estados examinados foram gravados)` : '');
  const lado = estado.buscas.length > 1;
  el('busca2').hidden = !lado;
  document.body.classList.toggle('ladoalado', lado);
  estado.buscas.forEach(mostrarBusca);
  const separa = estado.separacao;
  el('separacao').textContent = separa === null ? '' : `Separam-se no passo ${separa + 1}`;
  el('ir-separacao').hidden = separa === null;
  el('primeiro').disabled = el('anterior').disabled = estado.passo === 0;
  el('proximo').disabled = el('ultimo').disabled = estado.passo >= ultimo;
  el('tocar').disabled = false;
  const linha = el('linha');
  linha.disabled = false;
  linha.max = ultimo + 1;
  linha.value = estado.passo + 1;
  linha.setAttribute('aria-valuetext', `Passo ${estado.passo + 1} de ${ultimo + 1}`);
  document.body.dataset.msPasso = (performance.now() - inicio).toFixed(2);
}

// ---- play and pause -------------------------------------------------------------

function pararRelogios() {
  clearInterval(estado.relogio);
  clearInterval(estado.animacao);
  estado.relogio = estado.animacao = null;
  el('tocar').textContent = 'Reproduzir';
  el('animar').textContent = 'Animar a solucao';
}

const passosPorSegundo = () => Number(el('velocidade').value);

function tocar() {
  if (estado.relogio) {
    pararRelogios();
    return;
  }
  if (estado.passo >= ultimoPasso()) estado.passo = -1;
  el('tocar').textContent = 'Pausar';
  estado.relogio = setInterval(() => {
    if (estado.passo >= ultimoPasso()) pararRelogios();
    else irPara(estado.passo + 1);
  }, 1000 / passosPorSegundo());
}

// ---- the result: statistics and the solutions ----------------------------------

function mostrarResultado() {
  const [primeira, segunda] = estado.buscas;
  const estatisticas = (busca) => busca.dados.estatisticas
    ?? `Estatisticas ate a parada (busca interrompida)\n${textoDoProgresso(busca.dados.progresso).trim()}\n`;
  el('estatisticas').textContent = estatisticas(primeira);
  el('estatisticas2').hidden = !segunda;
  el('estatisticas2').textContent = segunda ? estatisticas(segunda) : '';
  const escrever = (busca, resumo, lista) => {
    const solucao = busca.dados.solucao ?? [];
    el(lista).textContent = solucao.map(([de, para]) => `${de}->${para}`).join('\n');
    el(resumo).textContent = solucao.length
      ? `${titulo(busca.config)}: ${solucao.length} movimentos (${solucao.length === busca.dados.otimo ? 'otima' : 'subotima'}; o otimo e ${busca.dados.otimo})`
      : '';
  };
  escrever(primeira, 'movimento', 'movimentos');
  el('movimentos2').hidden = !segunda;
  if (segunda) escrever(segunda, 'movimento2', 'movimentos2');
  el('animar').disabled = !(primeira.dados.solucao?.length);
  desenharPinos(el('pinos-solucao'), primeira.dados.nos[0][3], primeira.dados.pecas);
}

function animar() {
  if (estado.animacao) {
    pararRelogios();
    return;
  }
  const { dados } = estado.buscas[0];
  const pilhas = dados.nos[0][3].map((pecas) => [...pecas]);
  let i = 0;
  el('animar').textContent = 'Parar a animacao';
  desenharPinos(el('pinos-solucao'), pilhas, dados.pecas);
  estado.animacao = setInterval(() => {
    if (i >= dados.solucao.length) {
      pararRelogios();
      return;
    }
    const [de, para] = dados.solucao[i++];
    pilhas[para - 1].push(pilhas[de - 1].pop());
    el('movimento').textContent = `Movimento ${i} de ${dados.solucao.length}: ${de}->${para}`;
    desenharPinos(el('pinos-solucao'), pilhas, dados.pecas);
  }, 1000 / passosPorSegundo());
}

// ---- the methods chart ------------------------------------------------------------

async function comparar() {
  el('mensagem').textContent = '';
  el('progresso').textContent = 'Comparando os metodos...';
  marcar('ocupado');
  const escolhas = lerCampos();
  try {
    const dados = await cliente.buscar(opcoesDoGrafico(escolhas), '', 0, escolhas.memoria);
    if (dados.erro) el('mensagem').textContent = dados.erro;
    else desenharGrafico(el('grafico'), dados.linhas, metodoPorOpcao(escolhas.metodo).nome);
  } catch (falha) {
    el('mensagem').textContent = falha.message;
  }
  el('progresso').textContent = '';
  marcar('pronto');
}

// ---- wiring -------------------------------------------------------------------------

function teclas(evento) {
  if (evento.defaultPrevented || estado.buscas.length === 0
      || evento.target.closest('input, select, textarea, [role=button], button')) {
    return;
  }
  const acoes = {
    ArrowRight: () => irPara(estado.passo + 1),
    ArrowLeft: () => irPara(estado.passo - 1),
    ' ': tocar,
    Home: () => irPara(0),
    End: () => irPara(ultimoPasso()),
  };
  if (!acoes[evento.key]) return;
  evento.preventDefault();
  acoes[evento.key]();
}

// The second search's panels: a copy of the first's, its ids numbered 2
// (titulo1 -> titulo2, estado -> estado2).
function segundaBusca() {
  const copia = el('busca1').cloneNode(true);
  copia.id = 'busca2';
  copia.hidden = true;
  copia.setAttribute('aria-label', 'Busca 2');
  for (const parte of copia.querySelectorAll('[id]')) {
    parte.id = parte.id.endsWith('1') ? `${parte.id.slice(0, -1)}2` : `${parte.id}2`;
  }
  el('busca1').after(copia);
}

function iniciar() {
  segundaBusca();
  marcar('carregando');
  el('buscar').disabled = true;
  cliente.iniciar();
  const clique = (id, acao) => el(id).addEventListener('click', acao);
  clique('buscar', buscar);
  clique('parar', parar);
  clique('comparar', comparar);
  clique('primeiro', () => irPara(0));
  clique('anterior', () => irPara(estado.passo - 1));
  clique('proximo', () => irPara(estado.passo + 1));
  clique('ultimo', () => irPara(ultimoPasso()));
  clique('tocar', tocar);
  clique('animar', animar);
  clique('ir-separacao', () => irPara(estado.separacao));
  clique('mais', () => {
    const aberto = el('escolhas').hidden;
    el('escolhas').hidden = !aberto;
    el('mais').setAttribute('aria-expanded', String(aberto));
  });
  el('linha').addEventListener('input', () => irPara(Number(el('linha').value) - 1));
  const velocidade = () => {
    el('velocidade-texto').textContent = `${passosPorSegundo()} passos/s`;
    if (estado.relogio) {  // the new pace from the next step on
      pararRelogios();
      tocar();
    }
  };
  el('velocidade').addEventListener('input', velocidade);
  velocidade();
  for (const quadro of Object.values(quadros)) {
    el(quadro.nome).addEventListener('change', () => { quadro.pega = null; desenharQuadro(quadro); atualizarPadrao(); });
  }
  el('pecas').addEventListener('change', () => {
    for (const quadro of Object.values(quadros)) quadro.pega = null;
    desenharQuadros();
  });
  for (const id of ['metodo', 'metodo2', 'ladoalado']) el(id).addEventListener('change', mostrarOpcoesDoMetodo);
  // Every choice is in the address as soon as it is made.
  el('escolhas').addEventListener('change', () => { lerCampos(); atualizarEndereco(); });
  document.querySelector('.barra').addEventListener('change', () => { lerCampos(); atualizarEndereco(); });
  [0, 1].forEach((lado) => {
    const painel = el(`busca${lado + 1}`);
    const redesenhar = () => { if (estado.buscas[lado]) mostrarPasso(); };
    const mudar = ligarVista(painel.querySelector('.desenho-arvore'), estado.vistas[lado], redesenhar);
    for (const botao of painel.querySelectorAll('[data-zoom]')) {
      const z = botao.dataset.zoom;
      botao.addEventListener('click', () => mudar(z === 'ajustar' ? null : Number(z)));
    }
  });
  document.addEventListener('keydown', teclas);
  // A drawing whose room changed (the window, or the text beside it) is drawn again.
  aoMudarTamanho(() => { if (estado.buscas.length) mostrarPasso(); });
  desenharQuadros();
}

iniciar();

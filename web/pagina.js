// The teaching page: asks the worker (worker.js) for runs of the engine and
// shows what they recorded, step by step. Everything shown comes from the
// engine's own record of the run (pagerun's JSON); the page only draws it.
// document.body.dataset.estado says 'carregando', 'pronto' or 'ocupado', for
// tests and for teachers' own scripts.
'use strict';

const el = (id) => document.getElementById(id);
const SVG = 'http://www.w3.org/2000/svg';

// Node records: [parent, from, to, pegs (each peg's pieces from the bottom
// up), g, h, f, step taken, repeated, dropped before step].
const PAI = 0, DE = 1, PARA = 2, ESTADO = 3, G = 4, H = 5, F = 6, PASSO = 7, REPETIDO = 8;
const DESCARTADO = 9;
// Step records: [node, frontier left, next f, ties, heap or null].
const NO = 0, FRONTEIRA = 1, PROXIMO = 2, EMPATES = 3, HEAP = 4;

const MAIOR_ARVORE = 600;  // nodes drawn in the search tree at most

// ---- the worker -----------------------------------------------------------

let worker = null;
let pedidos = new Map();
let proximoId = 1;

function novoWorker() {
  const fonte = el('fonte-worker');
  // Opened from disk, the page makes its worker from its own text: a worker
  // from a file of its own would be refused there.
  const w = fonte
    ? new Worker(URL.createObjectURL(new Blob([fonte.textContent], { type: 'text/javascript' })))
    : new Worker('worker.js');
  w.onmessage = (evento) => {
    const m = evento.data;
    if (m.tipo === 'pronto') {
      preencherEscolhas(m.tabela);
      if (document.body.dataset.estado === 'carregando') marcar('pronto');
    } else if (m.tipo === 'progresso') {
      el('progresso').textContent =
        `Nos abertos: ${m.examinados}, profundidade instantanea: ${m.profundidade}`;
    } else {
      const pedido = pedidos.get(m.id);
      pedidos.delete(m.id);
      if (!pedido) return;
      if (m.tipo === 'resultado') {
        pedido.resolve(m.dados);
      } else {
        // A module that failed may not be sound any more: the next search
        // gets a fresh one.
        pedido.reject(new Error(m.mensagem));
        recomecar();
      }
    }
  };
  w.onerror = (evento) => {
    evento.preventDefault();
    for (const pedido of pedidos.values()) pedido.reject(new Error(evento.message));
    pedidos.clear();
  };
  return w;
}

function pedir(opcoes, respostas, passos) {
  return new Promise((resolve, reject) => {
    const id = proximoId++;
    pedidos.set(id, { resolve, reject });
    worker.postMessage({ tipo: 'buscar', id, opcoes, respostas, passos });
  });
}

function recomecar() {
  worker.terminate();
  worker = novoWorker();
}

function parar() {
  for (const pedido of pedidos.values()) pedido.reject(new Error('Busca interrompida a pedido.'));
  pedidos.clear();
  recomecar();
}

function marcar(estado) {
  document.body.dataset.estado = estado;
  const ocupado = estado === 'ocupado';
  el('buscar').disabled = ocupado;
  el('comparar').disabled = ocupado;
  el('parar').disabled = !ocupado;
}

// ---- positions --------------------------------------------------------------

// [[2, 1, 0], [], []] -> "1:[2 1 0] 2:[] 3:[]", as the console writes a state.
function textoDasPilhas(pilhas) {
  return pilhas.map((pecas, i) => `${i + 1}:[${pecas.join(' ')}]`).join(' ');
}

// The names the engine offers (its table): the methods by their codes.
let nomesMetodo = [];

function preencherEscolhas(tabela) {
  nomesMetodo = tabela.metodos.map((m) => m.nome);
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
  // The second search offers the choices of the first; it starts on
  // breadth-first search, to set beside A*.
  const primeira = el('metodo2').options.length === 0;
  for (const sufixo of ['', '2']) {
    preencher(`metodo${sufixo}`, tabela.metodos.map((m) => [String(m.codigo), m.nome]));
    preencher(`heuristica${sufixo}`, tabela.heuristicas.map((h) => [h, h]));
    preencher(`desempate${sufixo}`, tabela.desempates.map((d) => [d, d]));
  }
  if (primeira) el('metodo2').value = '1';
}

// "3311": one digit a piece, from the largest to the smallest.
function pilhasDaPosicao(posicao) {
  const pilhas = [[], [], []];
  const n = posicao.length;
  for (let i = 0; i < n; ++i) pilhas[Number(posicao[i]) - 1].push(n - 1 - i);
  return pilhas;
}

function posicaoDasPilhas(pilhas, n) {
  const digitos = new Array(n);
  pilhas.forEach((pilha, p) => pilha.forEach((peca) => { digitos[n - 1 - peca] = String(p + 1); }));
  return digitos.join('');
}

function posicaoValida(texto, n) {
  return new RegExp(`^[1-3]{${n}}$`).test(texto);
}

function svg(nome, atributos, pai) {
  const e = document.createElementNS(SVG, nome);
  for (const [k, v] of Object.entries(atributos)) e.setAttribute(k, v);
  if (pai) pai.appendChild(e);
  return e;
}

function texto(pai, x, y, conteudo, atributos = {}) {
  const t = svg('text', { x, y, ...atributos }, pai);
  t.textContent = conteudo;
  return t;
}

// The pegs of `pilhas` in a 300 x 120 picture; `pega` is a piece to outline.
function desenharPinos(alvo, pilhas, n, pega = -1) {
  alvo.replaceChildren();
  const altura = Math.min(14, 90 / Math.max(n, 1));
  for (let p = 0; p < 3; ++p) {
    const x = 50 + 100 * p;
    svg('rect', { class: 'haste', x: x - 2, y: 12, width: 4, height: 100 }, alvo);
    pilhas[p].forEach((peca, nivel) => {
      const largura = 14 + (80 * (peca + 1)) / n;
      svg('rect', {
        class: 'peca' + (peca === pega ? ' pega' : ''),
        x: x - largura / 2, y: 112 - (nivel + 1) * altura, width: largura, height: altura - 1,
        rx: 3, fill: `hsl(${(peca * 360) / Math.max(n, 1)}, 60%, 60%)`,
      }, alvo);
    });
    texto(alvo, x, 10, String(p + 1), { 'text-anchor': 'middle', 'font-size': 10 });
  }
  svg('rect', { x: 0, y: 112, width: 300, height: 4, fill: '#654' }, alvo);
}

// ---- the start and goal pictures -------------------------------------------

const quadros = {
  inicio: { entrada: 'inicio', desenho: 'desenho-inicio', pino: 1, pega: null },
  objetivo: { entrada: 'objetivo', desenho: 'desenho-objetivo', pino: 3, pega: null },
};

function pecas() {
  const n = Number(el('pecas').value);
  return Number.isInteger(n) && n >= 1 && n <= 15 ? n : 3;
}

function padrao(quadro, n) {
  return String(quadro.pino).repeat(n);
}

function desenharQuadro(quadro) {
  const n = pecas();
  const entrada = el(quadro.entrada);
  if (!posicaoValida(entrada.value, n)) entrada.value = padrao(quadro, n);
  const pilhas = pilhasDaPosicao(entrada.value);
  const pega = quadro.pega === null ? -1 : pilhas[quadro.pega].at(-1) ?? -1;
  desenharPinos(el(quadro.desenho), pilhas, n, pega);
}

function clicarQuadro(quadro, evento) {
  const caixa = el(quadro.desenho).getBoundingClientRect();
  const pino = Math.min(2, Math.max(0, Math.floor(((evento.clientX - caixa.left) / caixa.width) * 3)));
  const n = pecas();
  const pilhas = pilhasDaPosicao(el(quadro.entrada).value);
  if (quadro.pega === null) {
    if (pilhas[pino].length > 0) quadro.pega = pino;
  } else {
    const peca = pilhas[quadro.pega].at(-1);
    pilhas[quadro.pega].pop();
    pilhas[pino].push(peca);
    pilhas[pino].sort((a, b) => b - a);
    el(quadro.entrada).value = posicaoDasPilhas(pilhas, n);
    quadro.pega = null;
  }
  desenharQuadro(quadro);
}

// ---- the run's options ------------------------------------------------------

// The option words of a run, as the command line takes them; a choice left
// at its default adds none.
function opcoes(heuristica, desempate, grafo) {
  const n = pecas();
  const palavras = [];
  if (heuristica !== 'padrao') palavras.push(`--heuristica=${heuristica}`);
  if (desempate !== 'heap') palavras.push(`--desempate=${desempate}`);
  if (grafo) palavras.push('--grafo');
  for (const quadro of Object.values(quadros)) {
    const valor = el(quadro.entrada).value;
    if (valor !== padrao(quadro, n)) palavras.push(`--${quadro.entrada}=${valor}`);
  }
  return palavras.join(' ');
}

function configuracoes() {
  const lista = [{
    metodo: el('metodo').value, heuristica: el('heuristica').value,
    desempate: el('desempate').value, grafo: el('grafo').checked,
  }];
  if (el('ladoalado').checked) {
    lista.push({
      metodo: el('metodo2').value, heuristica: el('heuristica2').value,
      desempate: el('desempate2').value, grafo: el('grafo2').checked,
    });
  }
  return lista;
}

function titulo(c) {
  const partes = [nomesMetodo[c.metodo]];
  if (c.metodo !== '1') partes.push(`heuristica ${c.heuristica}`);
  partes.push(`desempate ${c.desempate}`);
  if (c.grafo) partes.push('grafo');
  return partes.join(', ');
}

// ---- the runs and the step shown ------------------------------------------

let buscas = [];  // {config, dados, filhos}
let passo = 0;
let relogio = null;
let animacao = null;

function filhosDe(nos) {
  const filhos = nos.map(() => []);
  for (let i = 1; i < nos.length; ++i) filhos[nos[i][PAI]].push(i);
  return filhos;
}

// How many states graph search dropped just before each step.
function descartesAntes(nos) {
  const antes = new Map();
  for (const no of nos) {
    if (no[DESCARTADO]) antes.set(no[DESCARTADO], (antes.get(no[DESCARTADO]) || 0) + 1);
  }
  return antes;
}

async function buscar() {
  pararRelogios();
  el('mensagem').textContent = '';
  if (String(pecas()) !== el('pecas').value.trim()) {
    el('mensagem').textContent = 'O numero de pecas e um inteiro de 1 a 15.';
    return;
  }
  for (const quadro of Object.values(quadros)) {
    if (!posicaoValida(el(quadro.entrada).value, pecas())) {
      el('mensagem').textContent = `A posicao de ${quadro.entrada} tem um digito de 1 a 3 por peca.`;
      return;
    }
  }
  limparResultados();
  el('progresso').textContent = 'Buscando...';
  marcar('ocupado');
  const n = pecas();
  const gravados = Math.min(100000, Math.max(1, Math.floor(Number(el('gravados').value)) || 2000));
  const novas = [];
  try {
    for (const c of configuracoes()) {
      const dados = await pedir(opcoes(c.heuristica, c.desempate, c.grafo), `${n} ${c.metodo}`,
        gravados);
      novas.push({
        config: c, dados,
        filhos: dados.nos ? filhosDe(dados.nos) : [],
        descartes: dados.nos ? descartesAntes(dados.nos) : new Map(),
      });
      if (!dados.nos) break;
    }
  } catch (erro) {
    el('mensagem').textContent = erro.message;
  }
  // The heap a search stopped for memory grew never comes down: the next
  // search gets a fresh module, and so the same room as this one had.
  if (novas.some((b) => paraPorMemoria.test(b.dados.erro || ''))) recomecar();
  el('progresso').textContent = '';
  marcar('pronto');
  const mensagens = novas.map((b) => b.dados.erro).filter(Boolean);
  if (mensagens.length) el('mensagem').textContent = mensagens.join('');
  if (novas.length === 0 || !novas[0].dados.nos) return;
  buscas = novas;
  passo = 0;
  mostrarResultado();
  if (buscas.every((b) => b.dados.passos.length > 0)) mostrarPasso();
  else for (const botao of ['anterior', 'proximo', 'tocar']) el(botao).disabled = true;
}

// The program's words for a search that stopped for memory, or could not
// start for it.
const paraPorMemoria = /^hanoi: memoria /;

// Nothing of the last search stays on the screen once another starts, even
// if this one ends in an error, is stopped or never starts.
function limparResultados() {
  buscas = [];
  passo = 0;
  for (const nome of ['contador', 'estado', 'numeros1', 'motivo', 'filhos1', 'pinos1', 'estado2',
    'numeros2', 'motivo2', 'filhos2', 'pinos2', 'separacao', 'heap', 'arvore', 'arvore-nota',
    'estatisticas', 'estatisticas2', 'pinos-solucao', 'movimento', 'movimentos']) {
    el(nome).textContent = '';
  }
  el('aberta').tBodies[0].replaceChildren();
  for (const sufixo of ['1', '2']) el(`titulo${sufixo}`).textContent = 'Busca';
  el('busca2').hidden = true;
  el('estatisticas2').hidden = true;
  for (const botao of ['anterior', 'proximo', 'tocar', 'animar']) el(botao).disabled = true;
}

function ultimoPasso() {
  return Math.max(...buscas.map((b) => b.dados.passos.length)) - 1;
}

function irPara(k) {
  if (buscas.length === 0) return;
  passo = Math.max(0, Math.min(k, ultimoPasso()));
  mostrarPasso();
}

function pararRelogios() {
  if (relogio) clearInterval(relogio);
  if (animacao) clearInterval(animacao);
  relogio = null;
  animacao = null;
  el('tocar').textContent = 'Reproduzir';
  el('animar').textContent = 'Animar a solucao';
}

function passosPorSegundo() {
  return Number(el('velocidade').value);
}

function tocar() {
  if (relogio) {
    pararRelogios();
    return;
  }
  if (passo >= ultimoPasso()) passo = -1;
  el('tocar').textContent = 'Pausar';
  relogio = setInterval(() => {
    if (passo >= ultimoPasso()) pararRelogios();
    else irPara(passo + 1);
  }, 1000 / passosPorSegundo());
}

const regrasDesempate = {
  heap: 'decidiu a regra do heap: entre iguais, o empilhado antes fica mais perto da raiz, e a '
    + 'retirada desce pelo filho maior (o direito, no empate)',
  fila: 'decidiu a fila: entre iguais sai o empilhado antes',
  pilha: 'decidiu a pilha: entre iguais sai o empilhado por ultimo',
};

// Why the state of step `registro` left the frontier before the others.
function motivo(registro, no, desempate, metodo) {
  const f = no[F];
  const ordem = metodo === '2' ? 'f = h' : (metodo === '1' ? 'f = g + h, h fixo' : 'f = g + h');
  if (registro[PROXIMO] === null) return `f=${f}: era o unico estado na fronteira (${ordem}).`;
  if (registro[EMPATES] === 0) {
    return `f=${f}, menor que o f=${registro[PROXIMO]} do proximo na fronteira: sai primeiro (${ordem}).`;
  }
  const outros = registro[EMPATES] === 1 ? 'outro estado' : `outros ${registro[EMPATES]} estados`;
  return `Empate: f=${f} tambem em ${outros} da fronteira; ${regrasDesempate[desempate]}.`;
}

function linhaDoNo(no) {
  return `g=${no[G]} h=${no[H]} f=${no[F]}`;
}

function mostrarBusca(b, sufixo, alvoEstado, alvoMotivo) {
  const passos = b.dados.passos;
  const k = Math.min(passo, passos.length - 1);
  const registro = passos[k];
  const no = b.dados.nos[registro[NO]];
  el(`titulo${sufixo}`).textContent = `${titulo(b.config)}: passo ${k + 1} de ${b.dados.examinados}`
    + (passo > k ? ' (a busca terminou aqui)' : '');
  el(alvoEstado).textContent = textoDasPilhas(no[ESTADO]);
  el(`numeros${sufixo}`).textContent =
    `#${k + 1}  ${linhaDoNo(no)}  fronteira=${registro[FRONTEIRA]}`
    + (k === passos.length - 1 && b.dados.completo && !b.dados.erro ? '  objetivo' : '');
  const descartados = b.descartes.get(k + 1) || 0;
  el(alvoMotivo).textContent = (descartados === 0 ? ''
    : `Antes dele, ${descartados === 1 ? 'um estado saiu da fronteira e foi descartado'
      : `${descartados} estados sairam da fronteira e foram descartados`}`
      + ' (posicao ja examinada). ')
    + (k === 0 ? 'O estado inicial: o unico na fronteira.'
      : motivo(registro, no, b.config.desempate, b.config.metodo));
  const lista = el(`filhos${sufixo}`);
  lista.replaceChildren();
  for (const id of b.filhos[registro[NO]]) {
    const filho = b.dados.nos[id];
    const item = document.createElement('li');
    item.textContent = `${filho[DE]}->${filho[PARA]}  ${textoDasPilhas(filho[ESTADO])}  ${linhaDoNo(filho)}`
      + (filho[REPETIDO] ? '  (posicao repetida)' : '');
    lista.appendChild(item);
  }
  desenharPinos(el(`pinos${sufixo}`), no[ESTADO], b.dados.pecas);
}

function mostrarPasso() {
  const b = buscas[0];
  const parcial = buscas.some((busca) => !busca.dados.completo);
  el('contador').textContent = `Passo ${passo + 1} de ${ultimoPasso() + 1}`
    + (parcial ? ` (so os primeiros ${ultimoPasso() + 1} estados examinados foram gravados)` : '');
  mostrarBusca(b, '1', 'estado', 'motivo');
  el('busca2').hidden = buscas.length < 2;
  el('separacao').textContent = '';
  if (buscas.length > 1) {
    mostrarBusca(buscas[1], '2', 'estado2', 'motivo2');
    const separa = passoDaSeparacao();
    if (separa !== null && passo >= separa) {
      el('separacao').textContent = `As buscas se separam no passo ${separa + 1}.`;
    }
  }
  el('anterior').disabled = passo === 0;
  el('proximo').disabled = passo >= ultimoPasso();
  el('tocar').disabled = false;
  desenharHeap(b);
  mostrarAberta(b);
  desenharArvore(b);
}

// The first step at which the two searches take different states.
function passoDaSeparacao() {
  const [a, b] = buscas;
  const limite = Math.min(a.dados.passos.length, b.dados.passos.length);
  for (let k = 0; k < limite; ++k) {
    if (textoDasPilhas(a.dados.nos[a.dados.passos[k][NO]][ESTADO])
        !== textoDasPilhas(b.dados.nos[b.dados.passos[k][NO]][ESTADO])) {
      return k;
    }
  }
  return a.dados.passos.length === b.dados.passos.length ? null : limite;
}

// ---- the frontier ------------------------------------------------------------

function desenharHeap(b) {
  const alvo = el('heap');
  alvo.replaceChildren();
  const registro = b.dados.passos[Math.min(passo, b.dados.passos.length - 1)];
  const heap = registro[HEAP];
  if (!heap) {
    texto(alvo, 320, 100, `A fronteira tem ${registro[FRONTEIRA] + 1} estados: o heap aparece`
      + ' aqui quando tem ate 31.', { 'text-anchor': 'middle', 'font-size': 13 });
    return;
  }
  const niveis = Math.floor(Math.log2(heap.length)) + 1;
  alvo.setAttribute('viewBox', `0 0 640 ${niveis * 46 + 10}`);
  const lugar = (i) => {
    const nivel = Math.floor(Math.log2(i));
    const largura = 640 / 2 ** nivel;
    return [largura * (i - 2 ** nivel + 0.5), 22 + nivel * 46];
  };
  for (let i = 2; i <= heap.length; ++i) {
    const [x, y] = lugar(i);
    const [px, py] = lugar(Math.floor(i / 2));
    svg('line', { class: 'aresta', x1: px, y1: py, x2: x, y2: y }, alvo);
  }
  heap.forEach((id, indice) => {
    const no = b.dados.nos[id];
    const [x, y] = lugar(indice + 1);
    const grupo = svg('g', { class: 'no' + (indice === 0 ? ' atual' : '') }, alvo);
    svg('circle', { cx: x, cy: y, r: 14 }, grupo);
    texto(grupo, x, y + 4, `f${no[F]}`);
    texto(grupo, x, y + 24, `n${id}`);
    svg('title', {}, grupo).textContent = `${textoDasPilhas(no[ESTADO])}  ${linhaDoNo(no)}`;
  });
}

function mostrarAberta(b) {
  const corpo = el('aberta').querySelector('tbody');
  corpo.replaceChildren();
  const registro = b.dados.passos[Math.min(passo, b.dados.passos.length - 1)];
  if (!registro[HEAP]) return;
  const ordenada = [...registro[HEAP]].sort((x, y) => b.dados.nos[x][F] - b.dados.nos[y][F] || x - y);
  for (const id of ordenada) {
    const no = b.dados.nos[id];
    const linha = document.createElement('tr');
    if (id === registro[NO]) linha.style.fontWeight = 'bold';
    for (const valor of [`n${id}`, textoDasPilhas(no[ESTADO]), no[G], no[H], no[F]]) {
      const celula = document.createElement('td');
      celula.textContent = valor;
      linha.appendChild(celula);
    }
    corpo.appendChild(linha);
  }
}

// ---- the search tree -----------------------------------------------------------

function desenharArvore(b) {
  const alvo = el('arvore');
  alvo.replaceChildren();
  const nos = b.dados.nos;
  const atual = passo + 1;
  // The nodes generated up to this step: the start, and the children of the
  // states taken so far.
  const visivel = (id) => id === 0 || (nos[nos[id][PAI]][PASSO] > 0 && nos[nos[id][PAI]][PASSO] <= atual);
  const mostrados = [];
  for (let id = 0; id < nos.length && mostrados.length < MAIOR_ARVORE; ++id) {
    if (visivel(id)) mostrados.push(id);
  }
  const dentro = new Set(mostrados);
  el('arvore-nota').textContent = mostrados.length === MAIOR_ARVORE
    ? `Mostrando os primeiros ${MAIOR_ARVORE} estados gerados.` : '';
  // Leaves side by side, each parent over its children.
  const x = new Map();
  let folhas = 0;
  const posicionar = (id) => {
    const filhos = b.filhos[id].filter((f) => dentro.has(f));
    if (filhos.length === 0) {
      x.set(id, folhas++);
    } else {
      filhos.forEach(posicionar);
      x.set(id, (x.get(filhos[0]) + x.get(filhos.at(-1))) / 2);
    }
  };
  posicionar(0);
  const g0 = nos[0][G];
  const profundidade = Math.max(...mostrados.map((id) => nos[id][G] - g0));
  const largura = Math.max(folhas * 26 + 20, 200);
  const altura = (profundidade + 1) * 44 + 20;
  alvo.setAttribute('width', largura);
  alvo.setAttribute('height', altura);
  alvo.setAttribute('viewBox', `0 0 ${largura} ${altura}`);
  const ponto = (id) => [x.get(id) * 26 + 20, (nos[id][G] - g0) * 44 + 20];
  for (const id of mostrados) {
    if (id === 0) continue;
    const [x1, y1] = ponto(nos[id][PAI]);
    const [x2, y2] = ponto(id);
    svg('line', { class: 'aresta', x1, y1, x2, y2 }, alvo);
  }
  for (const id of mostrados) {
    const no = nos[id];
    const classes = ['no'];
    if (no[PASSO] === atual) classes.push('atual');
    else if (no[PASSO] > 0 && no[PASSO] < atual) classes.push('tirado');
    if (no[REPETIDO]) classes.push('repetido');
    if (no[DESCARTADO] && no[DESCARTADO] <= atual) classes.push('descartado');
    const [cx, cy] = ponto(id);
    const grupo = svg('g', { class: classes.join(' ') }, alvo);
    svg('circle', { cx, cy, r: 11 }, grupo);
    texto(grupo, cx, cy + 4, String(no[F]));
    svg('title', {}, grupo).textContent =
      `n${id} ${id ? `${no[DE]}->${no[PARA]} ` : ''}${textoDasPilhas(no[ESTADO])}  ${linhaDoNo(no)}`
      + (no[PASSO] ? `  examinado no passo ${no[PASSO]}` : '')
      + (no[REPETIDO] ? '  (posicao repetida)' : '')
      + (no[DESCARTADO] ? `  descartado antes do passo ${no[DESCARTADO]}` : '');
  }
}

// ---- the result: statistics and the solution -------------------------------

function mostrarResultado() {
  el('estatisticas').textContent = buscas[0].dados.estatisticas;
  const segundo = el('estatisticas2');
  segundo.hidden = buscas.length < 2;
  segundo.textContent = buscas.length > 1 ? buscas[1].dados.estatisticas : '';
  const solucao = buscas[0].dados.solucao;
  el('movimentos').textContent = solucao.map(([de, para]) => `${de}->${para}`).join('\n');
  el('animar').disabled = solucao.length === 0;
  el('movimento').textContent = solucao.length
    ? `${solucao.length} movimentos (${solucao.length === buscas[0].dados.otimo ? 'otima' : 'subotima'})`
    : '';
  desenharPinos(el('pinos-solucao'), buscas[0].dados.nos[0][ESTADO], buscas[0].dados.pecas);
}

function animar() {
  if (animacao) {
    pararRelogios();
    return;
  }
  const dados = buscas[0].dados;
  const pilhas = dados.nos[0][ESTADO].map((pecas) => [...pecas]);
  let i = 0;
  el('animar').textContent = 'Parar a animacao';
  desenharPinos(el('pinos-solucao'), pilhas, dados.pecas);
  animacao = setInterval(() => {
    if (i >= dados.solucao.length) {
      clearInterval(animacao);
      animacao = null;
      el('animar').textContent = 'Animar a solucao';
      return;
    }
    const [de, para] = dados.solucao[i++];
    pilhas[para - 1].push(pilhas[de - 1].pop());
    el('movimento').textContent = `Movimento ${i} de ${dados.solucao.length}: ${de}->${para}`;
    desenharPinos(el('pinos-solucao'), pilhas, dados.pecas);
  }, 1000 / passosPorSegundo());
}

// ---- the comparison chart ------------------------------------------------------

async function comparar() {
  el('mensagem').textContent = '';
  el('progresso').textContent = 'Comparando os metodos...';
  marcar('ocupado');
  try {
    const dados = await pedir('--comparar', '', 0);
    if (dados.erro) el('mensagem').textContent = dados.erro;
    else desenharGrafico(dados.linhas);
  } catch (erro) {
    el('mensagem').textContent = erro.message;
  }
  el('progresso').textContent = '';
  marcar('pronto');
}

// `linhas`: the comparison's runs, one object a run keyed by the CSV's
// columns.
function desenharGrafico(linhas) {
  const alvo = el('grafico');
  alvo.replaceChildren();
  const series = new Map();
  for (const linha of linhas) {
    if (!series.has(linha.metodo)) series.set(linha.metodo, []);
    series.get(linha.metodo).push([linha.pecas, linha.examinados, linha.resultado]);
  }
  const maior = Math.max(...[...series.values()].flat().map((p) => p[1]));
  const decadas = Math.ceil(Math.log10(maior));
  const X = (n) => 60 + ((n - 1) * 540) / 14;
  const Y = (v) => 280 - (Math.log10(v) / decadas) * 250;
  for (let d = 0; d <= decadas; ++d) {
    svg('line', { x1: 60, x2: 600, y1: Y(10 ** d), y2: Y(10 ** d), stroke: '#eee' }, alvo);
    texto(alvo, 55, Y(10 ** d) + 4, `1e${d}`, { 'text-anchor': 'end', 'font-size': 10 });
  }
  for (let n = 1; n <= 15; ++n) texto(alvo, X(n), 296, String(n), { 'text-anchor': 'middle', 'font-size': 10 });
  texto(alvo, 330, 314, 'pecas', { 'text-anchor': 'middle', 'font-size': 11 });
  texto(alvo, 60, 16, 'Estados examinados (escala logaritmica)', { 'font-size': 12 });
  const cores = { 'A*': '#06c', Largura: '#c60', Guloso: '#393' };
  let legenda = 0;
  for (const [metodo, pontos] of series) {
    const cor = cores[metodo] || '#555';
    svg('polyline', {
      points: pontos.map(([n, v]) => `${X(n)},${Y(v)}`).join(' '),
      fill: 'none', stroke: cor, 'stroke-width': 2,
    }, alvo);
    for (const [n, v, resultado] of pontos) {
      const ponto = svg('circle', { cx: X(n), cy: Y(v), r: resultado === 'subotima' ? 4 : 3, fill: cor }, alvo);
      svg('title', {}, ponto).textContent = `${metodo}, ${n} pecas: ${v} examinados, ${resultado}`;
    }
    texto(alvo, 470, 40 + legenda * 16, metodo, { fill: cor, 'font-size': 12 });
    legenda += 1;
  }
}

// ---- wiring -----------------------------------------------------------------

function iniciar() {
  marcar('carregando');
  el('buscar').disabled = true;
  worker = novoWorker();
  el('buscar').addEventListener('click', buscar);
  el('parar').addEventListener('click', () => {
    parar();
    el('progresso').textContent = '';
    marcar('pronto');
  });
  el('comparar').addEventListener('click', comparar);
  el('proximo').addEventListener('click', () => irPara(passo + 1));
  el('anterior').addEventListener('click', () => irPara(passo - 1));
  el('tocar').addEventListener('click', tocar);
  el('animar').addEventListener('click', animar);
  const velocidade = () => {
    el('velocidade-texto').textContent = `${passosPorSegundo()} passos/s`;
    if (relogio) {  // the new pace from the next step on
      clearInterval(relogio);
      relogio = null;
      tocar();
    }
  };
  el('velocidade').addEventListener('input', velocidade);
  velocidade();
  for (const quadro of Object.values(quadros)) {
    el(quadro.desenho).addEventListener('click', (evento) => clicarQuadro(quadro, evento));
    el(quadro.entrada).addEventListener('change', () => { quadro.pega = null; desenharQuadro(quadro); });
    desenharQuadro(quadro);
  }
  document.addEventListener('keydown', (evento) => {
    if (evento.target.closest('input, select, textarea') || buscas.length === 0) return;
    if (evento.key === 'ArrowRight') irPara(passo + 1);
    else if (evento.key === 'ArrowLeft') irPara(passo - 1);
  });
  el('pecas').addEventListener('change', () => {
    for (const quadro of Object.values(quadros)) {
      quadro.pega = null;
      desenharQuadro(quadro);
    }
  });
}

iniciar();

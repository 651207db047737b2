// What the teacher chose, as one plain record, and the page's address as
// its serialisation: the console's option names and values, the method by
// its --metodo name, the second search's choices with a 2 after the name.
// Pure: the tests read it under node.

export const MAIOR_PECAS = 15;

export const PADRAO = Object.freeze({
  pecas: 3, metodo: 'astar', heuristica: 'padrao', desempate: 'heap', grafo: false,
  limite: '', peso: '', inicio: '', objetivo: '', gravados: 2000, memoria: 0,
  metodo2: '', heuristica2: 'padrao', desempate2: 'heap', grafo2: false,
});

// The address's names in the order it lists them; `passo` follows them.
const NOMES = Object.keys(PADRAO);

function inteiroEntre(texto, menor, maior) {
  if (!/^\d+$/.test(texto)) return null;
  const n = Number(texto);
  return n >= menor && n <= maior ? n : null;
}

// A weight as --peso takes it: a decimal of 0.01 to 100 with at most two
// places.
export function ePeso(texto) {
  return /^\d{1,3}(\.\d{1,2})?$/.test(texto) && Number(texto) >= 0.01 && Number(texto) <= 100;
}

// How each name's text becomes a value, or null when it is not one. The
// start and the goal are kept as typed: they are checked against the piece
// count where the page shows them (errosDaPosicao).
function leitores(tabela) {
  const metodos = new Set(tabela.metodos.map((m) => m.opcao));
  const umDe = (lista) => (t) => (lista.includes(t) ? t : null);
  const booleano = (t) => ({ 1: true, 0: false })[t] ?? null;
  const metodo = (t) => (metodos.has(t) ? t : null);
  const posicao = (t) => (/^[^&=]{0,40}$/.test(t) ? t : null);
  return {
    pecas: (t) => inteiroEntre(t, 1, MAIOR_PECAS),
    metodo, metodo2: metodo,
    heuristica: umDe(tabela.heuristicas), heuristica2: umDe(tabela.heuristicas),
    desempate: umDe(tabela.desempates), desempate2: umDe(tabela.desempates),
    grafo: booleano, grafo2: booleano,
    limite: (t) => (inteiroEntre(t, 0, 1000000) === null ? null : t),
    peso: (t) => (ePeso(t) ? t : null),
    inicio: posicao, objetivo: posicao,
    gravados: (t) => inteiroEntre(t, 1, 100000),
    memoria: (t) => inteiroEntre(t, 1, 4096),
  };
}

// The address's query ("?pecas=4&...") read against the engine's table:
// {escolhas, passo (from 1, or null), recusados: ["nome=valor", ...]}.
export function lerEndereco(consulta, tabela) {
  const parametros = new URLSearchParams(consulta);
  const ler = leitores(tabela);
  const escolhas = { ...PADRAO };
  const recusados = [];
  let passo = null;
  for (const [nome, valor] of parametros) {
    const lido = nome === 'passo' ? inteiroEntre(valor, 1, 1e9) : ler[nome]?.(valor) ?? null;
    if (lido === null) recusados.push(`${nome}=${valor}`);
    else if (nome === 'passo') passo = lido;
    else escolhas[nome] = lido;
  }
  return { escolhas, passo, recusados };
}

// The choices (and the step shown, from 1) as an address's query: the
// values that differ from the defaults, in a fixed order.
export function escreverEndereco(escolhas, passo = null) {
  const parametros = new URLSearchParams();
  for (const nome of NOMES) {
    const valor = escolhas[nome];
    if (valor === PADRAO[nome]) continue;
    parametros.set(nome, typeof valor === 'boolean' ? (valor ? '1' : '0') : String(valor));
  }
  if (passo !== null) parametros.set('passo', String(passo));
  const texto = parametros.toString();
  return texto ? `?${texto}` : '';
}

// What is wrong with a typed position for n pieces; '' when nothing.
export function erroDaPosicao(texto, n) {
  if (texto === '') return '';
  if (!/^[1-3]*$/.test(texto)) return 'Use so os digitos 1, 2 e 3 (os pinos), um por peca.';
  if (texto.length !== n) {
    return `Sao ${n} digitos com ${n} ${n === 1 ? 'peca' : 'pecas'}, um por peca `
      + `(da maior para a menor); ha ${texto.length}.`;
  }
  return '';
}

// The start or goal the search uses: the one typed, or every piece on the
// first or last peg.
export function posicaoUsada(texto, n, pino) {
  return texto === '' ? String(pino).repeat(n) : texto;
}

// Why the program's own estimate cannot be chosen; '' when it can.
export function motivoSemPadrao(objetivo, n) {
  return posicaoUsada(objetivo, n, 3) === '3'.repeat(n) ? ''
    : 'padrao so vale com o objetivo de todas as pecas no pino 3';
}

// The searches the choices ask for: one, or two side by side. The depth
// limit and the weight go to the methods that take them (`aplica(metodo,
// 'limite' or 'peso')`, from the engine's table).
export function configuracoes(escolhas, aplica = () => false) {
  const n = escolhas.pecas;
  const comum = {
    n, inicio: posicaoUsada(escolhas.inicio, n, 1), objetivo: posicaoUsada(escolhas.objetivo, n, 3),
  };
  const busca = (metodo, heuristica, desempate, grafo) => ({
    ...comum, metodo, heuristica, desempate, grafo,
    limite: aplica(metodo, 'limite') ? escolhas.limite : '',
    peso: aplica(metodo, 'peso') ? escolhas.peso : '',
  });
  const lista = [busca(escolhas.metodo, escolhas.heuristica, escolhas.desempate, escolhas.grafo)];
  if (escolhas.metodo2) {
    lista.push(busca(escolhas.metodo2, escolhas.heuristica2, escolhas.desempate2, escolhas.grafo2));
  }
  return lista;
}

// The heuristic, tie order and graph search as option words; a choice left
// at its default adds none.
function opcoesDoLaboratorio(config) {
  const palavras = [];
  if (config.heuristica !== 'padrao') palavras.push(`--heuristica=${config.heuristica}`);
  if (config.desempate !== 'heap') palavras.push(`--desempate=${config.desempate}`);
  if (config.grafo) palavras.push('--grafo');
  if (config.limite) palavras.push(`--limite=${config.limite}`);
  if (config.peso) palavras.push(`--peso=${config.peso}`);
  return palavras;
}

// The option words of a search, as the command line takes them.
export function opcoesDaBusca(config) {
  const palavras = opcoesDoLaboratorio(config);
  if (config.inicio !== '1'.repeat(config.n)) palavras.push(`--inicio=${config.inicio}`);
  if (config.objetivo !== '3'.repeat(config.n)) palavras.push(`--objetivo=${config.objetivo}`);
  return palavras.join(' ');
}

// The options of the methods chart: the comparison's, with the heuristic,
// tie order and graph search chosen (as --comparar takes them; its rows
// run each method with its own defaults).
export function opcoesDoGrafico(escolhas) {
  return ['--comparar', ...opcoesDoLaboratorio({ ...escolhas, limite: '', peso: '' })].join(' ');
}

// A warning for a search that cannot fit in the engine's memory (`bytes`,
// what the page's engine may hold): tree search breadth-first with 6 or
// more pieces; '' for the others.
export function avisoDeMemoria(config, bytes) {
  if (config.metodo !== 'largura' || config.grafo || config.n < 6) return '';
  const mib = Math.floor(bytes / 2 ** 20);
  return `A busca em largura com ${config.n} pecas nao cabe aqui: com 6 pecas o console chega a `
    + `cerca de 5 GB, e o motor da pagina tem no maximo ${mib} MiB. Ela vai parar com `
    + '"memoria esgotada". Clique de novo em Buscar para buscar assim mesmo.';
}

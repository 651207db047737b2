// The records of a run as the engine sends them (recorder.h), and the facts
// every panel reads from them.

// Node records: [parent, from, to, pegs (each peg's pieces from the bottom
// up), g, h, f, step that took it, repeated, step that dropped it].
export const PAI = 0, DE = 1, PARA = 2, ESTADO = 3, G = 4, H = 5, F = 6, PASSO = 7;
export const REPETIDO = 8, DESCARTADO = 9;
// Step records, one a state leaving the frontier, taken or (graph search)
// dropped: [node, frontier left, next f, ties, listing or null, iteration,
// its limit or bound, the start side's queue, dropped].
export const NO = 0, FRONTEIRA = 1, PROXIMO = 2, EMPATES = 3, HEAP = 4;
export const ITERACAO = 5, LIMITE = 6, FILA_INICIO = 7, DESCARTE = 8;

// [[2, 1, 0], [], []] -> "1:[2 1 0] 2:[] 3:[]", as the console writes a state.
export function textoDasPilhas(pilhas) {
  return pilhas.map((pecas, i) => `${i + 1}:[${pecas.join(' ')}]`).join(' ');
}

// "3311": one digit a piece (its peg), from the largest to the smallest.
export function pilhasDaPosicao(posicao) {
  const pilhas = [[], [], []];
  const n = posicao.length;
  for (let i = 0; i < n; ++i) pilhas[Number(posicao[i]) - 1].push(n - 1 - i);
  return pilhas;
}

export function posicaoDasPilhas(pilhas, n) {
  const digitos = new Array(n);
  pilhas.forEach((pilha, p) => pilha.forEach((peca) => { digitos[n - 1 - peca] = String(p + 1); }));
  return digitos.join('');
}

// A run as the panels read it: the engine's record and what follows from
// it once, not at every step. exames[k]: the states taken up to step k,
// that step's included (the trace's #n of a state taken).
export function prepararBusca(config, dados) {
  const nos = dados.nos || [];
  const filhos = nos.map(() => []);
  for (let i = 0; i < nos.length; ++i) {
    if (nos[i][PAI] !== i) filhos[nos[i][PAI]].push(i);
  }
  let tomados = 0;
  const exames = (dados.passos || []).map((registro) => (registro[DESCARTE] ? tomados : ++tomados));
  return { config, dados, filhos, exames };
}

// Whether step k took the goal: the last step of a search that ended with a
// solution, every step of it recorded (a stopped search has no solution).
export function objetivoTomado(busca, k) {
  const d = busca.dados;
  return k === d.passos.length - 1 && d.completo && d.solucao !== undefined && !d.erro;
}

// The node ids from its root (a root is its own parent: the start of each
// pass, the goal's side of bidirectional search) to `id`.
export function caminhoAte(nos, id) {
  const caminho = [id];
  while (nos[id][PAI] !== id) {
    id = nos[id][PAI];
    caminho.push(id);
  }
  return caminho.reverse();
}

// The first step at which two runs take or drop different states: null when
// they take and drop the same ones throughout.
export function passoDaSeparacao(a, b) {
  const estadoNo = (busca, k) => {
    const registro = busca.dados.passos[k];
    return textoDasPilhas(busca.dados.nos[registro[NO]][ESTADO]) + (registro[DESCARTE] ? ' --' : '');
  };
  const limite = Math.min(a.dados.passos.length, b.dados.passos.length);
  for (let k = 0; k < limite; ++k) {
    if (estadoNo(a, k) !== estadoNo(b, k)) return k;
  }
  return a.dados.passos.length === b.dados.passos.length ? null : limite;
}

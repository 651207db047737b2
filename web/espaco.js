// The state space: every position of N pieces as a point of the Sierpinski
// triangle that the moves make (a move joins two neighbouring points), with
// the positions examined up to the step shown lit, the start and the goal
// marked, and the path to the current state drawn.

import { caminhoAte, DESCARTE, ESTADO, NO, objetivoTomado, pilhasDaPosicao } from './dados.js';
import { tamanho } from './desenho.js';

// The corners: every piece on peg 1 at the top, on peg 2 bottom left, on
// peg 3 bottom right; the triangle's side is 1.
const ALTURA = Math.sqrt(3) / 2;
const CANTOS = [[0.5, 0], [0, ALTURA], [1, ALTURA]];
// Up to this many pieces every position is drawn; beyond, the triangle of
// this many pieces is the background and the positions examined are drawn
// on it.
export const MAIOR_COMPLETO = 7;

// The position's number: one base-3 digit a piece (its peg less one), the
// largest piece the most significant.
export function codigoDasPilhas(pilhas) {
  const n = pilhas[0].length + pilhas[1].length + pilhas[2].length;
  let codigo = 0;
  const pino = new Array(n);
  pilhas.forEach((pilha, p) => pilha.forEach((peca) => { pino[peca] = p; }));
  for (let peca = n - 1; peca >= 0; --peca) codigo = codigo * 3 + pino[peca];
  return codigo;
}

// The point of a position in the unit triangle. The largest piece's peg
// picks the sub-triangle at that corner; inside it, the two other pegs
// trade corners, so that the position before the largest piece moves (the
// rest on the third peg) sits at the corner facing the sub-triangle it
// moves to.
export function pontoDoCodigo(codigo, n) {
  const digitos = new Array(n);
  for (let i = n - 1; i >= 0; --i, codigo = Math.floor(codigo / 3)) digitos[i] = codigo % 3;
  let canto = [0, 1, 2];
  let x = 0, y = 0, lado = 0.5;
  for (const d of digitos) {
    const c = canto[d];
    x += lado * CANTOS[c][0];
    y += lado * CANTOS[c][1];
    lado /= 2;
    const [a, b] = [0, 1, 2].filter((p) => p !== d);
    const trocado = [...canto];
    trocado[a] = canto[b];
    trocado[b] = canto[a];
    canto = trocado;
  }
  // The points fill a triangle of side 1 - 2^-n: stretched to side 1, the
  // corners are the triangle's own.
  const escala = 1 / (1 - 2 ** -n);
  return [x * escala, y * escala];
}

// The points of every position of n pieces, by number.
export function pontosDoEspaco(n) {
  const pontos = new Float64Array(2 * 3 ** n);
  for (let codigo = 0; codigo < 3 ** n; ++codigo) {
    const [x, y] = pontoDoCodigo(codigo, n);
    pontos[2 * codigo] = x;
    pontos[2 * codigo + 1] = y;
  }
  return pontos;
}

// Each position examined in the steps recorded, once, with the first step
// that took it, in step order.
export function primeirosExames(dados) {
  const vistos = new Map();
  dados.passos.forEach((registro, k) => {
    const codigo = codigoDasPilhas(dados.nos[registro[NO]][ESTADO]);
    if (!registro[DESCARTE] && !vistos.has(codigo)) vistos.set(codigo, k);
  });
  return [...vistos].map(([codigo, passo]) => ({ codigo, passo }));
}

// ---- drawing ------------------------------------------------------------------

const CORES_ESPACO = {
  fundo: '#c9ced6', examinado: '#1f5fbf', atual: '#d4380d', caminho: '#d4380d',
  solucao: '#0a7d32', inicio: '#111', objetivo: '#0a7d32',
};

// What a canvas needs from one run, prepared once: the background (every
// position, or the triangle of MAIOR_COMPLETO pieces), the positions
// examined with their first step, and the goal (config.objetivo, a digit a
// piece).
export function prepararEspaco(busca) {
  const n = busca.dados.pecas;
  const fundo = Math.min(n, MAIOR_COMPLETO);
  return {
    n,
    fundo: pontosDoEspaco(fundo),
    ladoFundo: 2 ** -fundo,
    exames: primeirosExames(busca.dados)
      .map(({ codigo, passo }) => ({ passo, ponto: pontoDoCodigo(codigo, n) })),
    objetivo: pontoDoCodigo(codigoDasPilhas(pilhasDaPosicao(busca.config.objetivo)), n),
  };
}

// Draws run `busca` at step k (from 0) on the canvas `alvo`.
export function desenharEspaco(alvo, busca, k) {
  const espaco = busca.espaco ??= prepararEspaco(busca);
  const { dados } = busca;
  const razao = window.devicePixelRatio || 1;
  const caixa = tamanho(alvo);
  const largura = Math.max(50, Math.floor(caixa.width)), altura = Math.max(50, Math.floor(caixa.height));
  if (alvo.width !== largura * razao || alvo.height !== altura * razao) {
    alvo.width = largura * razao;
    alvo.height = altura * razao;
  }
  const ctx = alvo.getContext('2d');
  ctx.setTransform(razao, 0, 0, razao, 0, 0);
  ctx.clearRect(0, 0, largura, altura);
  const margem = 12;
  const lado = Math.min(largura - 2 * margem, (altura - 2 * margem) / ALTURA);
  const x0 = (largura - lado) / 2, y0 = (altura - lado * ALTURA) / 2;
  const ponto = (x, y) => [x0 + x * lado, y0 + y * lado];
  const raio = Math.max(1.2, Math.min(4, lado * espaco.ladoFundo * 0.4));
  const marcar = (x, y, r) => ctx.fillRect(x - r, y - r, 2 * r, 2 * r);
  ctx.fillStyle = CORES_ESPACO.fundo;
  for (let i = 0; i < espaco.fundo.length; i += 2) marcar(...ponto(espaco.fundo[i], espaco.fundo[i + 1]), raio);
  ctx.fillStyle = CORES_ESPACO.examinado;
  for (const { passo, ponto: [x, y] } of espaco.exames) {
    if (passo > k) break;
    marcar(...ponto(x, y), raio + 0.5);
  }
  const registro = dados.passos[k];
  const tomado = objetivoTomado(busca, k);
  const caminho = caminhoAte(dados.nos, registro[NO])
    .map((id) => ponto(...pontoDoCodigo(codigoDasPilhas(dados.nos[id][ESTADO]), espaco.n)));
  ctx.strokeStyle = tomado ? CORES_ESPACO.solucao : CORES_ESPACO.caminho;
  ctx.lineWidth = tomado ? 4 : 2;
  ctx.beginPath();
  caminho.forEach(([x, y], i) => (i ? ctx.lineTo(x, y) : ctx.moveTo(x, y)));
  ctx.stroke();
  const circulo = ([x, y], r, cor, cheio) => {
    ctx.beginPath();
    ctx.arc(x, y, r, 0, 2 * Math.PI);
    ctx.lineWidth = 3;
    if (cheio) {
      ctx.fillStyle = cor;
      ctx.fill();
    } else {
      ctx.strokeStyle = cor;
      ctx.stroke();
    }
  };
  circulo(caminho[0], 8, CORES_ESPACO.inicio, false);
  circulo(ponto(...espaco.objetivo), 8, CORES_ESPACO.objetivo, false);
  circulo(caminho.at(-1), 6, CORES_ESPACO.atual, true);
}

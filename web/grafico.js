// The methods chart: the rows of `hanoi --comparar` (with the heuristic, tie
// order and graph search chosen) as two panels over the piece count: the
// states examined, and the solution's length over the optimum (2^N - 1 moves
// for every piece from peg 1 to peg 3, the comparison's problem).

import { svg, texto } from './desenho.js';

const CORES_GRAFICO = ['#0b5cad', '#a34700', '#1d7a33', '#7a2e8c', '#8a6d00', '#00707a', '#b0003a', '#444'];

// The comparison's rows (one object a run, keyed by the CSV's columns) as
// one series a method, in the table's order: [{metodo, pontos: [{pecas,
// examinados, razao (moves over the optimum; null with no solution),
// resultado}]}].
export function seriesDoGrafico(linhas) {
  const series = new Map();
  for (const linha of linhas) {
    if (!series.has(linha.metodo)) series.set(linha.metodo, []);
    series.get(linha.metodo).push({
      pecas: linha.pecas,
      examinados: linha.examinados,
      razao: linha.movimentos === null ? null : linha.movimentos / (2 ** linha.pecas - 1),
      resultado: linha.resultado,
    });
  }
  return [...series].map(([metodo, pontos]) => ({ metodo, pontos }));
}

// One panel in the box (x, y, w, h): `valor` of each point, on a log scale
// or a linear one from 1.
function painel(alvo, series, caixa, rotulo, valor, escala, destaque) {
  const [x0, y0, w, h] = caixa;
  const valores = series.flatMap((s) => s.pontos.map(valor)).filter((v) => v !== null && v > 0);
  const maior = Math.max(...valores, 2);
  const pecas = Math.max(...series.flatMap((s) => s.pontos.map((p) => p.pecas)), 2);
  const X = (n) => x0 + ((n - 1) * w) / (pecas - 1);
  const marcas = escala === 'log'
    ? Array.from({ length: Math.ceil(Math.log10(maior)) + 1 }, (_, d) => 10 ** d)
    : Array.from({ length: 5 }, (_, i) => 1 + (i * (Math.ceil(maior) - 1)) / 4);
  const topo = marcas.at(-1);
  const Y = escala === 'log' ? (v) => y0 + h - (Math.log10(v) / Math.log10(topo)) * h
    : (v) => y0 + h - ((v - 1) / Math.max(topo - 1, 1e-9)) * h;
  for (const m of marcas) {
    svg('line', { class: 'grade', x1: x0, x2: x0 + w, y1: Y(m), y2: Y(m) }, alvo);
    texto(alvo, x0 - 6, Y(m) + 5, escala === 'log' ? `1e${Math.round(Math.log10(m))}`
      : String(Math.round(m * 100) / 100), { 'text-anchor': 'end', class: 'eixo' });
  }
  for (let n = 1; n <= pecas; ++n) texto(alvo, X(n), y0 + h + 18, String(n), { 'text-anchor': 'middle', class: 'eixo' });
  texto(alvo, x0, y0 - 10, rotulo, { class: 'titulo-grafico' });
  series.forEach((s, i) => {
    const cor = CORES_GRAFICO[i % CORES_GRAFICO.length];
    const pontos = s.pontos.filter((p) => valor(p) !== null && valor(p) > 0);
    svg('polyline', {
      points: pontos.map((p) => `${X(p.pecas)},${Y(valor(p))}`).join(' '),
      fill: 'none', stroke: cor, 'stroke-width': s.metodo === destaque ? 5 : 2.5,
    }, alvo);
    for (const p of pontos) {
      const ponto = svg('circle', { cx: X(p.pecas), cy: Y(valor(p)), r: 4, fill: cor }, alvo);
      svg('title', {}, ponto).textContent =
        `${s.metodo}, ${p.pecas} pecas: ${p.examinados} examinados, ${p.resultado}`;
    }
  });
}

// Draws the chart in the svg `alvo`; `destaque` is the chosen method's
// label, drawn thicker.
export function desenharGrafico(alvo, linhas, destaque) {
  alvo.replaceChildren();
  alvo.setAttribute('viewBox', '0 0 1100 380');
  const series = seriesDoGrafico(linhas);
  painel(alvo, series, [70, 40, 410, 280], 'Estados examinados (escala logaritmica)',
    (p) => p.examinados, 'log', destaque);
  painel(alvo, series, [580, 40, 260, 280], 'Movimentos da solucao / otimo (2^N - 1)',
    (p) => p.razao, 'linear', destaque);
  texto(alvo, 530, 364, 'pecas', { 'text-anchor': 'middle', class: 'eixo' });
  // The legend in the column right of the panels, the chosen method's
  // "(escolhido)" on a line of its own so that every name fits.
  let y = 60;
  series.forEach((s, i) => {
    const cor = { fill: CORES_GRAFICO[i % CORES_GRAFICO.length], class: 'legenda-grafico' };
    texto(alvo, 870, y, s.metodo, cor);
    if (s.metodo === destaque) texto(alvo, 870, y += 22, '(escolhido)', cor);
    y += 26;
  });
}

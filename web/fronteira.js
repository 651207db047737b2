// The frontier just before the step's state left it. Today's engine keeps a
// heap (ordered by f); the model names its kind, so that a queue or a stack
// listing (first to leave on top) can come in beside it.

import { ESTADO, F, FRONTEIRA, G, H, HEAP, NO, posicaoDasPilhas } from './dados.js';
import { svg, texto } from './desenho.js';

const TITULOS = {
  heap: 'Fronteira: o heap antes da retirada (a raiz sai)',
};
export const NIVEIS_DESENHADOS = 4;  // the heap's levels drawn as a tree

// {tipo, titulo, tamanho, itens: null or [{id, posicao, g, h, f, sai}] in
// the frontier's own order (the heap's array)}: null when the frontier was
// too big to record.
export function modeloFronteira(busca, k) {
  const { nos, pecas } = busca.dados;
  const registro = busca.dados.passos[k];
  const lista = registro[HEAP];
  return {
    tipo: 'heap',
    titulo: TITULOS.heap,
    tamanho: registro[FRONTEIRA] + 1,
    itens: lista && lista.map((id) => {
      const no = nos[id];
      return {
        id, posicao: posicaoDasPilhas(no[ESTADO], pecas), g: no[G], h: no[H], f: no[F],
        sai: id === registro[NO],
      };
    }),
  };
}

// The items in the order they would leave if nothing were pushed: by f,
// then by push number (the heap's own order among equals depends on its
// shape, which the drawing shows).
export function ordemDeSaida(itens) {
  return [...itens].sort((a, b) => a.f - b.f || a.id - b.id);
}

function desenharHeap(alvo, itens) {
  alvo.replaceChildren();
  const mostrados = itens.slice(0, 2 ** NIVEIS_DESENHADOS - 1);
  const niveis = Math.floor(Math.log2(mostrados.length)) + 1;
  const largura = 2 ** (niveis - 1) * 62;
  alvo.setAttribute('viewBox', `0 0 ${largura} ${niveis * 48}`);
  const lugar = (i) => {
    const nivel = Math.floor(Math.log2(i));
    const passo = largura / 2 ** nivel;
    return [passo * (i - 2 ** nivel + 0.5), 22 + nivel * 48];
  };
  for (let i = 2; i <= mostrados.length; ++i) {
    const [x, y] = lugar(i);
    const [px, py] = lugar(Math.floor(i / 2));
    svg('line', { class: 'aresta', x1: px, y1: py, x2: x, y2: y }, alvo);
  }
  mostrados.forEach((item, indice) => {
    const [x, y] = lugar(indice + 1);
    const grupo = svg('g', { class: 'no' + (item.sai ? ' atual' : '') }, alvo);
    svg('rect', { x: x - 28, y: y - 15, width: 56, height: 30, rx: 15 }, grupo);
    texto(grupo, x, y + 6, String(item.f), { 'font-size': 17 });
    svg('title', {}, grupo).textContent = `n${item.id} ${item.posicao} g=${item.g} h=${item.h} f=${item.f}`;
  });
}

function preencherTabela(corpo, itens) {
  corpo.replaceChildren();
  for (const item of ordemDeSaida(itens)) {
    const linha = document.createElement('tr');
    if (item.sai) linha.className = 'sai';
    for (const valor of [`n${item.id}`, item.posicao, item.g, item.h, item.f]) {
      const celula = document.createElement('td');
      celula.textContent = valor;
      linha.appendChild(celula);
    }
    corpo.appendChild(linha);
  }
}

// Draws the frontier of run `busca` at step k in the panel `painel`.
export function desenharFronteira(painel, busca, k) {
  const modelo = modeloFronteira(busca, k);
  painel.querySelector('.titulo-fronteira').textContent = modelo.titulo;
  const desenho = painel.querySelector('svg.heap');
  const corpo = painel.querySelector('table.aberta tbody');
  const nota = painel.querySelector('.nota-fronteira');
  if (!modelo.itens) {
    desenho.replaceChildren();
    corpo.replaceChildren();
    nota.textContent = `A fronteira tem ${modelo.tamanho} estados: ela aparece aqui quando tem ate 31.`;
    return;
  }
  desenharHeap(desenho, modelo.itens);
  preencherTabela(corpo, modelo.itens);
  nota.textContent = modelo.itens.length > 2 ** NIVEIS_DESENHADOS - 1
    ? `${modelo.itens.length} estados; o desenho mostra os ${2 ** NIVEIS_DESENHADOS - 1} do topo.`
    : `${modelo.itens.length} estados.`;
}

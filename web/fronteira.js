// The frontier just before the step's state left it: the heap (ordered by
// f) of the best-first methods, the stack of the depth-first methods (top
// first), or the two queues of bidirectional search (each from its front).

import { caminhoAte, ESTADO, F, FILA_INICIO, FRONTEIRA, G, H, HEAP, NO, posicaoDasPilhas }
  from './dados.js';
import { svg, tamanho, texto } from './desenho.js';

const METODOS_DE_PILHA = new Set(['profundidade', 'aprofundamento', 'ida']);
const TITULOS = {
  heap: 'Fronteira: o heap antes da retirada (a raiz sai)',
  pilha: 'Fronteira: a pilha antes da retirada (o topo, em cima, sai)',
  filas: 'Fronteira: as duas filas antes da retirada (cada uma da frente para o fim)',
};
const LEGENDAS = {
  heap: 'Por ordem de f (o menor sai antes); em negrito, o que sai',
  pilha: 'Do topo para o fundo; em negrito, o que sai',
  filas: 'I: fila do lado do inicio; O: fila do lado do objetivo; em negrito, o que sai',
};
// The heap's drawing, in its own units: a node's slot on the bottom level,
// a level's height, the label's font; and the smallest font the drawing
// may come to on the screen (read from the back of a lecture hall).
const VAGA = 62, NIVEL_HEAP = 48, FONTE_HEAP = 17, MENOR_FONTE = 16;
const MAIS_NIVEIS = 4;

// The heap's levels drawn in a box of `largura` by `altura` pixels: as many
// as keep the labels at MENOR_FONTE or more once scaled to fit (at least
// one, at most MAIS_NIVEIS).
export function niveisQueCabem(largura, altura) {
  for (let n = MAIS_NIVEIS; n > 1; --n) {
    const escala = Math.min(largura / (2 ** (n - 1) * VAGA), altura / (n * NIVEL_HEAP));
    if (escala * FONTE_HEAP >= MENOR_FONTE) return n;
  }
  return 1;
}

export function tipoDaFronteira(metodo) {
  if (METODOS_DE_PILHA.has(metodo)) return 'pilha';
  return metodo === 'bidirecional' ? 'filas' : 'heap';
}

// {tipo, titulo, tamanho, inicio (states on the start's queue, filas
// only), itens: null or [{id, lado, posicao, g, h, f, sai}] in the order
// listed}: null when the frontier was not recorded. The items are the whole
// frontier when there are `tamanho` of them, else those that leave first.
export function modeloFronteira(busca, k) {
  const { nos, pecas } = busca.dados;
  const registro = busca.dados.passos[k];
  const tipo = tipoDaFronteira(busca.config.metodo);
  const lista = registro[HEAP];
  return {
    tipo,
    titulo: TITULOS[tipo],
    tamanho: registro[FRONTEIRA] + 1,
    inicio: registro[FILA_INICIO],
    itens: lista && lista.map((id) => {
      const no = nos[id];
      return {
        id, lado: caminhoAte(nos, id)[0] === 0 ? 'I' : 'O',
        posicao: posicaoDasPilhas(no[ESTADO], pecas), g: no[G], h: no[H], f: no[F],
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

function desenharHeap(alvo, itens, niveisMostrados) {
  alvo.replaceChildren();
  const mostrados = itens.slice(0, 2 ** niveisMostrados - 1);
  const niveis = Math.floor(Math.log2(mostrados.length)) + 1;
  const largura = 2 ** (niveis - 1) * VAGA;
  alvo.setAttribute('viewBox', `0 0 ${largura} ${niveis * NIVEL_HEAP}`);
  const lugar = (i) => {
    const nivel = Math.floor(Math.log2(i));
    const passo = largura / 2 ** nivel;
    return [passo * (i - 2 ** nivel + 0.5), 22 + nivel * NIVEL_HEAP];
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
    texto(grupo, x, y + 6, String(item.f), { 'font-size': FONTE_HEAP });
    svg('title', {}, grupo).textContent = `n${item.id} ${item.posicao} g=${item.g} h=${item.h} f=${item.f}`;
  });
}

// The rows of the listing: the heap's by leaving order, the others as
// listed (the stack from its top, each queue from its front).
export function linhasDaFronteira(modelo) {
  const itens = modelo.tipo === 'heap' ? ordemDeSaida(modelo.itens) : modelo.itens;
  return itens.map((item) => ({
    sai: item.sai,
    celulas: [modelo.tipo === 'filas' ? `${item.lado} n${item.id}` : `n${item.id}`,
      item.posicao, item.g, item.h, item.f],
  }));
}

// What the note under the frontier says: how many there are and which are
// listed, and drawn (the heap's first `niveis` levels).
export function notaDaFronteira(modelo, niveis = MAIS_NIVEIS) {
  const { tamanho, itens } = modelo;
  const filas = modelo.tipo === 'filas'
    ? ` (fila do inicio: ${modelo.inicio}, fila do objetivo: ${tamanho - modelo.inicio})` : '';
  if (!itens) return `A fronteira tem ${tamanho} estados${filas}.`;
  if (itens.length < tamanho) {
    const quais = { heap: 'que saem primeiro (menor f)', pilha: 'do topo', filas: 'da frente de cada fila' };
    return `A fronteira tem ${tamanho} estados${filas}; a tabela mostra os ${itens.length} ${quais[modelo.tipo]}.`;
  }
  if (modelo.tipo === 'heap' && itens.length > 2 ** niveis - 1) {
    return `${itens.length} estados; o desenho mostra os ${2 ** niveis - 1} do topo.`;
  }
  return `${tamanho} estados${filas}.`;
}

function preencherTabela(corpo, modelo) {
  corpo.replaceChildren();
  for (const { sai, celulas } of linhasDaFronteira(modelo)) {
    const linha = document.createElement('tr');
    if (sai) linha.className = 'sai';
    for (const valor of celulas) {
      const celula = document.createElement('td');
      celula.textContent = valor;
      linha.appendChild(celula);
    }
    corpo.appendChild(linha);
  }
}

// Draws the frontier of run `busca` at step k in the panel `painel`. The
// heap is drawn as a tree only when it was listed whole (its shape is then
// known), with the levels that fit the panel's width and the drawing's
// greatest height (the style sheet's).
export function desenharFronteira(painel, busca, k) {
  const modelo = modeloFronteira(busca, k);
  painel.querySelector('.titulo-fronteira').textContent = modelo.titulo;
  painel.querySelector('table.aberta caption').textContent = LEGENDAS[modelo.tipo];
  const desenho = painel.querySelector('svg.heap');
  const corpo = painel.querySelector('table.aberta tbody');
  const niveis = niveisQueCabem(tamanho(painel).width, parseFloat(getComputedStyle(desenho).maxHeight));
  painel.querySelector('.nota-fronteira').textContent = notaDaFronteira(modelo, niveis);
  const inteiro = modelo.itens && modelo.itens.length === modelo.tamanho;
  if (modelo.tipo === 'heap' && inteiro) desenharHeap(desenho, modelo.itens, niveis);
  else desenho.replaceChildren();
  if (modelo.itens) preencherTabela(corpo, modelo);
  else corpo.replaceChildren();
}

// The search tree: the states generated up to the step shown, each parent
// over its children, with pan and zoom; the current state kept in view and
// the path to it drawn, as the solution once the goal is taken.

import { caminhoAte, DESCARTADO, DE, ESTADO, F, G, PAI, PARA, PASSO, REPETIDO, textoDasPilhas }
  from './dados.js';
import { numerosDoNo } from './explicacao.js';
import { svg, tamanho, texto } from './desenho.js';

export const MAIOR_ARVORE = 300;  // nodes drawn at most
// In the drawing's units (a unit is a pixel at zoom 1): the label's font,
// a node's height, the gaps between nodes and between levels.
const FONTE = 16, ALTURA_NO = 28, FOLGA = 8, NIVEL = 58;
const LARGURA_DIGITO = FONTE * 0.62;

// The width of a node whose label is `rotulo`: the label fits inside.
export function larguraDoNo(rotulo) {
  return Math.max(ALTURA_NO, rotulo.length * LARGURA_DIGITO + 12);
}

// Where the nodes generated up to step `atual` (from 1) go, labelled with
// their figure `campo`: leaves side by side in the order generated, each
// parent centred over its children, one level a move. When there are more
// than `maximo`, the part shown is the largest subtree around the current
// node `idAtual` that has at most `maximo`. Returns {raiz, ids, x, y (Maps),
// largura, altura, total (the nodes generated)}.
export function layoutArvore(nos, filhos, atual, idAtual, campo = F, maximo = MAIOR_ARVORE) {
  const gerado = (id) => nos[nos[id][PAI]][PASSO] > 0 && nos[nos[id][PAI]][PASSO] <= atual;
  const visiveis = (id) => filhos[id].filter(gerado);
  // The nodes under `raiz`, in the order generated, stopping past `maximo`.
  const abaixo = (raiz) => {
    const ids = [];
    for (const pilha = [raiz]; pilha.length && ids.length <= maximo;) {
      const id = pilha.pop();
      ids.push(id);
      pilha.push(...visiveis(id).reverse());
    }
    return ids;
  };
  // The highest ancestor whose subtree fits: subtrees grow going up.
  const acima = caminhoAte(nos, idAtual);
  let [cabe, naoCabe] = [acima.length - 1, -1];
  while (cabe - naoCabe > 1) {
    const meio = (cabe + naoCabe) >> 1;
    if (abaixo(acima[meio]).length <= maximo) cabe = meio;
    else naoCabe = meio;
  }
  const raiz = acima[cabe];
  const ids = abaixo(raiz).sort((a, b) => a - b);
  const celula = Math.max(...ids.map((id) => larguraDoNo(String(nos[id][campo])))) + FOLGA;
  const x = new Map(), y = new Map();
  let folhas = 0;
  // Depth-first with a stack of its own: a tree may be hundreds deep.
  const pilha = [[raiz, false]];
  while (pilha.length) {
    const [id, voltando] = pilha.pop();
    const descendo = visiveis(id);
    y.set(id, (nos[id][G] - nos[raiz][G]) * NIVEL + ALTURA_NO);
    if (descendo.length === 0) {
      x.set(id, (folhas++ + 0.5) * celula);
    } else if (voltando) {
      x.set(id, (x.get(descendo[0]) + x.get(descendo.at(-1))) / 2);
    } else {
      pilha.push([id, true]);
      for (let i = descendo.length - 1; i >= 0; --i) pilha.push([descendo[i], false]);
    }
  }
  let total = 1;
  for (let id = 1; id < nos.length; ++id) total += gerado(id) ? 1 : 0;
  const altura = Math.max(...ids.map((id) => y.get(id))) + ALTURA_NO;
  return { raiz, ids, x, y, largura: folhas * celula, altura, total };
}

// Breadth-first search labels its nodes with their depth g, which orders
// them; the others with f.
export function rotuloDoMetodo(metodo) {
  return metodo === 'largura' ? G : F;
}

// ---- drawing, pan and zoom ----------------------------------------------------

// The part of the drawing shown: its centre and the zoom (1: a unit a
// pixel). Kept per tree across steps; the teacher moves it.
export function novaVista() {
  return { cx: null, cy: null, zoom: 1, ajustar: true };
}

function aplicarVista(alvo, vista) {
  const { width, height } = tamanho(alvo);
  const w = Math.max(1, width) / vista.zoom, h = Math.max(1, height) / vista.zoom;
  alvo.setAttribute('viewBox', `${vista.cx - w / 2} ${vista.cy - h / 2} ${w} ${h}`);
}

// Zoom to fit the whole tree, at most 1.5 and no smaller than 1, which
// keeps the labels at their 16 px (read from the back of a lecture hall);
// when it does not fit, the current node stays in view.
function ajustarVista(alvo, vista, layout, atual) {
  const { width, height } = tamanho(alvo);
  if (vista.ajustar) {
    vista.zoom = Math.max(1, Math.min(1.5, width / layout.largura, height / layout.altura));
    vista.cx = layout.largura / 2;
    vista.cy = layout.altura / 2;
  }
  const [ax, ay] = atual;
  const w = width / vista.zoom, h = height / vista.zoom;
  if (Math.abs(ax - vista.cx) > w / 2 - 40) vista.cx = ax;
  if (Math.abs(ay - vista.cy) > h / 2 - 40) vista.cy = Math.max(h / 2, ay);
}

// Drag to pan, the wheel or the buttons to zoom; each stops the fitting.
export function ligarVista(alvo, vista, redesenhar) {
  let arrasto = null;
  alvo.addEventListener('pointerdown', (e) => {
    arrasto = { x: e.clientX, y: e.clientY };
    alvo.setPointerCapture(e.pointerId);
  });
  alvo.addEventListener('pointermove', (e) => {
    if (!arrasto) return;
    vista.ajustar = false;
    vista.cx -= (e.clientX - arrasto.x) / vista.zoom;
    vista.cy -= (e.clientY - arrasto.y) / vista.zoom;
    arrasto = { x: e.clientX, y: e.clientY };
    aplicarVista(alvo, vista);
  });
  alvo.addEventListener('pointerup', () => { arrasto = null; });
  alvo.addEventListener('wheel', (e) => {
    e.preventDefault();
    zoom(vista, e.deltaY < 0 ? 1.25 : 0.8);
    aplicarVista(alvo, vista);
  }, { passive: false });
  return (fator) => {
    if (fator === null) vista.ajustar = true;
    else zoom(vista, fator);
    redesenhar();
  };
}

function zoom(vista, fator) {
  vista.ajustar = false;
  vista.zoom = Math.max(0.1, Math.min(4, vista.zoom * fator));
}

// Draws run `busca` at step k (from 0) in the svg `alvo`, and in `nota`
// what part of the tree is drawn ('' when every state generated is). The
// note is written first: the drawing takes the room it leaves.
export function desenharArvore(alvo, nota, busca, k, vista, tomado) {
  alvo.replaceChildren();
  const { nos } = busca.dados;
  const atual = k + 1;
  const campo = rotuloDoMetodo(busca.config.metodo);
  const idAtual = busca.dados.passos[k][0];
  const layout = layoutArvore(nos, busca.filhos, atual, idAtual, campo);
  nota.textContent = layout.raiz === 0 ? '' : `Mostrando os ${layout.ids.length} estados abaixo do`
    + ` no n${layout.raiz} (g=${nos[layout.raiz][G]}), de ${layout.total} gerados ate aqui.`;
  const caminho = new Set(caminhoAte(nos, idAtual));
  const ponto = (id) => [layout.x.get(id), layout.y.get(id)];
  ajustarVista(alvo, vista, layout, ponto(idAtual));
  aplicarVista(alvo, vista);
  const arestas = svg('g', {}, alvo);
  for (const id of layout.ids) {
    if (id === layout.raiz) continue;
    const [x1, y1] = ponto(nos[id][PAI]);
    const [x2, y2] = ponto(id);
    const classe = caminho.has(id) ? (tomado ? 'aresta solucao' : 'aresta caminho') : 'aresta';
    svg('line', { class: classe, x1, y1, x2, y2 }, arestas);
  }
  for (const id of layout.ids) {
    const no = nos[id];
    const classes = ['no'];
    if (id === idAtual) classes.push('atual');
    else if (no[PASSO] > 0 && no[PASSO] < atual) classes.push('tirado');
    if (no[REPETIDO]) classes.push('repetido');
    if (no[DESCARTADO] && no[DESCARTADO] <= atual) classes.push('descartado');
    if (tomado && caminho.has(id)) classes.push('solucao');
    const [cx, cy] = ponto(id);
    const rotulo = String(no[campo]);
    const largura = larguraDoNo(rotulo);
    const grupo = svg('g', { class: classes.join(' ') }, alvo);
    svg('rect', {
      x: cx - largura / 2, y: cy - ALTURA_NO / 2, width: largura, height: ALTURA_NO, rx: ALTURA_NO / 2,
    }, grupo);
    texto(grupo, cx, cy + FONTE * 0.35, rotulo, { 'font-size': FONTE });
    svg('title', {}, grupo).textContent =
      `n${id} ${id ? `${no[DE]}->${no[PARA]} ` : ''}${textoDasPilhas(no[ESTADO])}  ${numerosDoNo(no)}`
      + (no[PASSO] ? `  examinado no passo ${no[PASSO]}` : '')
      + (no[REPETIDO] ? '  (posicao repetida)' : '')
      + (no[DESCARTADO] ? `  descartado no passo ${no[DESCARTADO]}` : '');
  }
}

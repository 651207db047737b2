// Drawing helpers shared by the panels: SVG elements and the pegs.

const SVG = 'http://www.w3.org/2000/svg';

export function svg(nome, atributos, pai) {
  const e = document.createElementNS(SVG, nome);
  for (const [k, v] of Object.entries(atributos)) e.setAttribute(k, v);
  if (pai) pai.appendChild(e);
  return e;
}

export function texto(pai, x, y, conteudo, atributos = {}) {
  const t = svg('text', { x, y, ...atributos }, pai);
  t.textContent = conteudo;
  return t;
}

// The pegs of `pilhas` (each peg's pieces from the bottom up) in a 300 x 120
// picture; `pega` is a piece to outline. With `aoEscolher`, each peg is a
// button (click, Enter or space) that calls it with the peg (0 to 2).
export function desenharPinos(alvo, pilhas, n, pega = -1, aoEscolher = null, nome = '') {
  alvo.replaceChildren();
  const altura = Math.min(14, 90 / Math.max(n, 1));
  for (let p = 0; p < 3; ++p) {
    const x = 50 + 100 * p;
    const grupo = svg('g', { class: 'pino' }, alvo);
    if (aoEscolher) {
      Object.assign(grupo.dataset, { pino: p + 1 });
      grupo.setAttribute('tabindex', '0');
      grupo.setAttribute('role', 'button');
      grupo.setAttribute('aria-label', `${nome}: pino ${p + 1}`
        + (pilhas[p].length ? `, ${pilhas[p].length} pecas` : ', vazio'));
      grupo.addEventListener('click', () => aoEscolher(p));
      grupo.addEventListener('keydown', (evento) => {
        if (evento.key !== 'Enter' && evento.key !== ' ') return;
        evento.preventDefault();
        aoEscolher(p);
      });
      svg('rect', { class: 'alvo-pino', x: x - 50, y: 0, width: 100, height: 120 }, grupo);
    }
    svg('rect', { class: 'haste', x: x - 2, y: 16, width: 4, height: 96 }, grupo);
    pilhas[p].forEach((peca, nivel) => {
      const largura = 14 + (80 * (peca + 1)) / n;
      svg('rect', {
        class: 'peca' + (peca === pega ? ' pega' : ''),
        x: x - largura / 2, y: 112 - (nivel + 1) * altura, width: largura, height: altura - 1,
        rx: 3, fill: `hsl(${(peca * 360) / Math.max(n, 1)}, 60%, 60%)`,
      }, grupo);
    });
    texto(grupo, x, 13, String(p + 1), { 'text-anchor': 'middle', 'font-size': 13 });
  }
  svg('rect', { x: 0, y: 112, width: 300, height: 4, fill: '#654' }, alvo);
}

// The size of an element as last laid out, kept up to date by a
// ResizeObserver: drawing a step reads it without making the browser lay
// the page out again in the middle of the step's changes. When a size read
// has changed since (the step's own text took room from a drawing, the
// window changed), `aoMudarTamanho`'s function draws again.
const tamanhos = new WeakMap();
let redesenhar = null;
const observador = typeof ResizeObserver === 'undefined' ? null : new ResizeObserver((entradas) => {
  let mudou = false;
  for (const entrada of entradas) {
    const { width, height } = entrada.contentRect;
    const antes = tamanhos.get(entrada.target);
    mudou ||= antes.width !== width || antes.height !== height;
    tamanhos.set(entrada.target, { width, height });
  }
  if (mudou) redesenhar?.();
});

export function aoMudarTamanho(funcao) {
  redesenhar = funcao;
}

// The element's content box (without padding and border), as the
// ResizeObserver reports it.
export function tamanho(elemento) {
  if (!tamanhos.has(elemento)) {
    const { width, height } = elemento.getBoundingClientRect();
    const estilo = getComputedStyle(elemento);
    const margens = (...lados) => lados.reduce((soma, lado) => soma + parseFloat(estilo[lado]), 0);
    tamanhos.set(elemento, {
      width: width - margens('paddingLeft', 'paddingRight', 'borderLeftWidth', 'borderRightWidth'),
      height: height - margens('paddingTop', 'paddingBottom', 'borderTopWidth', 'borderBottomWidth'),
    });
    observador?.observe(elemento);
  }
  return tamanhos.get(elemento);
}

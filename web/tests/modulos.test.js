// The page's pure parts under node's test runner: the address, the checks
// of what is typed, the state space's layout, the tree's layout and the
// words for a step.
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { test } from 'node:test';

import { layoutArvore, larguraDoNo } from '../arvore.js';
import { passoDaSeparacao, prepararBusca } from '../dados.js';
import { codigoDasPilhas, pontoDoCodigo } from '../espaco.js';
import {
  avisoDeMemoria, configuracoes, erroDaPosicao, escreverEndereco, lerEndereco, motivoSemPadrao,
  opcoesDaBusca, PADRAO,
} from '../estado.js';
import { explicarPasso, textoDaIteracao } from '../explicacao.js';
import { linhasDaFronteira, modeloFronteira, niveisQueCabem, notaDaFronteira } from '../fronteira.js';

const TABELA = {
  metodos: [{ codigo: 0, opcao: 'astar' }, { codigo: 1, opcao: 'largura' }, { codigo: 2, opcao: 'guloso' }],
  heuristicas: ['padrao', 'zero', 'fora', 'exata'],
  desempates: ['heap', 'fila', 'pilha'],
};

test('the modules declare different top-level names: the single file runs them as one script', () => {
  const pasta = new URL('..', import.meta.url);
  const donos = new Map();
  for (const arquivo of readdirSync(pasta).filter((a) => a.endsWith('.js') && a !== 'worker.js')) {
    const texto = readFileSync(new URL(arquivo, pasta), 'utf8');
    // Every name a line declares: `export const PAI = 0, DE = 1;` declares two
    // (what follows a bracket or a quote is a value, not a name).
    for (const [, tipo, resto] of texto.matchAll(/^(?:export )?(const|let|function|class|async function) (.*)/gm)) {
      const nomes = /const|let/.test(tipo)
        ? [...resto.split(/[([{`'"]/)[0].matchAll(/(?:^|,\s*)(\w+)\s*=/g)].map((m) => m[1])
        : [resto.match(/^\w+/)[0]];
      for (const nome of nomes) {
        assert.ok(!donos.has(nome), `${nome}: ${donos.get(nome)} e ${arquivo}`);
        donos.set(nome, arquivo);
      }
    }
  }
});

test('the address restores every choice it writes, and refuses what it does not know', () => {
  for (const [mudancas, passo, endereco] of [
    [{}, null, ''],
    [{ pecas: 4, metodo: 'guloso', heuristica: 'fora', grafo: true }, 12,
      '?pecas=4&metodo=guloso&heuristica=fora&grafo=1&passo=12'],
    [{ inicio: '2314', objetivo: '1223', metodo2: 'largura', grafo2: true, memoria: 64 }, null,
      '?inicio=2314&objetivo=1223&memoria=64&metodo2=largura&grafo2=1'],
    [{ metodo: 'guloso', limite: '0', peso: '1.5' }, null, '?metodo=guloso&limite=0&peso=1.5'],
  ]) {
    const escolhas = { ...PADRAO, ...mudancas };
    assert.equal(escreverEndereco(escolhas, passo), endereco);
    assert.deepEqual(lerEndereco(endereco, TABELA), { escolhas, passo, recusados: [] });
  }
  const { escolhas, recusados } = lerEndereco('?pecas=16&metodo=dfs&grafo=sim&x=1&passo=0&desempate=fila'
    + '&limite=-1&peso=0&peso=100.001', TABELA);
  assert.deepEqual(recusados, ['pecas=16', 'metodo=dfs', 'grafo=sim', 'x=1', 'passo=0', 'limite=-1',
    'peso=0', 'peso=100.001']);
  assert.deepEqual(escolhas, { ...PADRAO, desempate: 'fila' });
});

test('a typed position is checked against the piece count, and padrao against the goal', () => {
  for (const [texto, n, erro] of [
    ['', 3, ''], ['123', 3, ''], ['2313', 3, 'Sao 3 digitos'], ['12', 3, 'ha 2'], ['2314', 3, 'so os digitos'],
    ['1a3', 3, 'so os digitos 1, 2 e 3'], ['3', 1, ''],
  ]) {
    if (erro) assert.match(erroDaPosicao(texto, n), new RegExp(erro), texto);
    else assert.equal(erroDaPosicao(texto, n), '', texto);
  }
  assert.equal(motivoSemPadrao('', 4), '');
  assert.equal(motivoSemPadrao('3333', 4), '');
  assert.notEqual(motivoSemPadrao('1113', 4), '');
});

test('only tree search breadth-first with 6 or more pieces is warned about', () => {
  for (const [metodo, n, grafo, avisa] of [
    ['largura', 6, false, true], ['largura', 9, false, true], ['largura', 5, false, false],
    ['largura', 6, true, false], ['astar', 15, false, false],
  ]) {
    assert.equal(avisoDeMemoria({ metodo, n, grafo }, 2 ** 31) !== '', avisa, `${metodo} ${n} ${grafo}`);
  }
});

// Every position of n pieces and the positions one move away.
function movimentos(n) {
  const arestas = [];
  for (let codigo = 0; codigo < 3 ** n; ++codigo) {
    const pinos = [];
    for (let c = codigo, i = 0; i < n; ++i, c = Math.floor(c / 3)) pinos.unshift(c % 3);
    // The top piece of each peg is the smallest on it: the last in pinos.
    const topo = [0, 1, 2].map((p) => pinos.lastIndexOf(p));
    for (const de of [0, 1, 2]) {
      for (const para of [0, 1, 2]) {
        if (topo[de] < 0 || de === para || topo[para] > topo[de]) continue;
        const depois = [...pinos];
        depois[topo[de]] = para;
        arestas.push([codigo, depois.reduce((s, p) => s * 3 + p, 0)]);
      }
    }
  }
  return arestas;
}

test('the state space is a Sierpinski triangle whose neighbours are one move apart', () => {
  for (const n of [1, 2, 3, 5]) {
    const lado = 1 / (2 ** n - 1);
    const distancia = (a, b) => Math.hypot(...pontoDoCodigo(a, n).map((v, i) => v - pontoDoCodigo(b, n)[i]));
    for (const [a, b] of movimentos(n)) assert.ok(Math.abs(distancia(a, b) - lado) < 1e-9, `${n}: ${a}-${b}`);
    const pontos = new Set();
    for (let c = 0; c < 3 ** n; ++c) pontos.add(pontoDoCodigo(c, n).map((v) => v.toFixed(9)).join());
    assert.equal(pontos.size, 3 ** n);
    // Every piece on peg 1, 2, 3: the top, bottom left and bottom right corners.
    const cantos = [[0.5, 0], [0, Math.sqrt(3) / 2], [1, Math.sqrt(3) / 2]];
    cantos.forEach((canto, p) => {
      const todas = [[], [], []];
      todas[p] = [...Array(n).keys()].reverse();
      pontoDoCodigo(codigoDasPilhas(todas), n).forEach((v, i) => assert.ok(Math.abs(v - canto[i]) < 1e-9));
    });
  }
});

// A tree: the start, its children 1 to 3, the children 4 and 5 of node 2;
// step 3 drops node 4, step 4 takes node 1.
// Node: [parent, from, to, pegs, g, h, f, step, repeated, dropped].
const NOS = [
  [0, 0, 0, [[1, 0], [], []], 0, 3, 3, 1, 0, 0],
  [0, 1, 2, [[1], [0], []], 1, 2, 3, 4, 0, 0],
  [0, 1, 3, [[1], [], [0]], 1, 2, 32768, 2, 0, 0],
  [0, 1, 3, [[1], [], [0]], 1, 2, 3, 0, 1, 0],
  [2, 1, 2, [[], [1], [0]], 2, 1, 3, 0, 0, 3],
  [2, 3, 1, [[1, 0], [], []], 2, 3, 5, 0, 1, 0],
];
const PASSOS = [[0, 0, 3, 0, null], [2, 1, 3, 2, null], [4, 3, 5, 0, null, 0, null, null, 1],
  [1, 2, null, 0, null]];

test('the tree shows what was generated up to the step, parents over children, no overlap', () => {
  const busca = prepararBusca({ desempate: 'heap' }, { nos: NOS, passos: PASSOS, pecas: 2 });
  // Step, current node, nodes at most: the nodes shown.
  for (const [atual, idAtual, maximo, ids] of [
    [1, 0, 300, [0, 1, 2, 3]], [2, 2, 300, [0, 1, 2, 3, 4, 5]], [2, 2, 5, [2, 4, 5]],
  ]) {
    const layout = layoutArvore(NOS, busca.filhos, atual, idAtual, 6, maximo);
    assert.deepEqual(layout.ids, ids);
    assert.equal(layout.total, atual === 1 ? 4 : 6);
    for (const id of ids) {
      const filhos = busca.filhos[id].filter((f) => ids.includes(f));
      if (filhos.length) {
        const meio = (layout.x.get(filhos[0]) + layout.x.get(filhos.at(-1))) / 2;
        assert.equal(layout.x.get(id), meio);
        for (const f of filhos) assert.ok(layout.y.get(f) > layout.y.get(id));
      }
      for (const outro of ids) {
        if (outro !== id && layout.y.get(outro) === layout.y.get(id)) {
          assert.ok(Math.abs(layout.x.get(outro) - layout.x.get(id)) >= larguraDoNo('32768'));
        }
      }
      assert.ok(layout.x.get(id) - larguraDoNo(String(NOS[id][6])) / 2 >= 0);
      assert.ok(layout.x.get(id) + larguraDoNo(String(NOS[id][6])) / 2 <= layout.largura);
    }
  }
});

test('each step says why its state left the frontier first, and a dropped state is a step', () => {
  const busca = prepararBusca({ desempate: 'fila' }, { nos: NOS, passos: PASSOS, pecas: 2 });
  // Step, method: the reason, the trace's line of numbers, the children.
  for (const [k, metodo, motivo, numeros, filhos] of [
    [0, 'astar', /^O estado inicial/, '#1  g=0 h=3 f=3  fronteira=0', 3],
    [1, 'astar', /^Empate: f=32768 tambem em outros 2 estados da fronteira; decidiu a fila/,
      '#2  g=1 h=2 f=32768  fronteira=1', 2],
    [2, 'astar', /^f=3, menor que o f=5 do proximo na fronteira: sai primeiro \(f = g \+ h\)\. Mas sua posicao ja foi examinada \(busca em grafo\): o estado e descartado, sem gerar filhos\.$/,
      '--  g=2 h=1 f=3  fronteira=3  descartado', 0],
    [3, 'astar', /^f=3: era o unico estado na fronteira \(f = g \+ h\)\.$/, '#3  g=1 h=2 f=3  fronteira=2', 0],
    [3, 'novo', /^f=3: era o unico estado na fronteira\.$/, '#3  g=1 h=2 f=3  fronteira=2', 0],
  ]) {
    const passo = explicarPasso(busca, k, metodo);
    assert.match(passo.motivo, motivo);
    assert.equal(passo.numeros, numeros);
    assert.equal(passo.filhos.length, filhos);
  }
  assert.equal(explicarPasso(busca, 3, 'astar').estado, '1:[1] 2:[0] 3:[]');
  assert.deepEqual(explicarPasso(busca, 1, 'astar').filhos,
    ['1->2  1:[] 2:[1] 3:[0]  g=2 h=1 f=3', '3->1  1:[1 0] 2:[] 3:[]  g=2 h=3 f=5  (posicao repetida)']);
  // Two runs part where they take different states, or where one drops the
  // state the other takes.
  const tomado = [...PASSOS[2].slice(0, 8), 0];
  for (const [passos, separacao] of [[PASSOS, null], [[PASSOS[0], PASSOS[3]], 1],
    [[PASSOS[0], PASSOS[1], tomado, PASSOS[3]], 2]]) {
    assert.equal(passoDaSeparacao(busca, prepararBusca({}, { nos: NOS, passos, pecas: 2 })), separacao);
  }
});

test('the limit and the weight go only to the methods that take them, as option words', () => {
  const aplica = (metodo, campo) => ({ aprofundamento: 'limite', ponderado: 'peso' })[metodo] === campo;
  const escolhas = { ...PADRAO, pecas: 4, metodo: 'aprofundamento', metodo2: 'ponderado', limite: '5', peso: '1.5' };
  assert.deepEqual(configuracoes(escolhas, aplica).map(opcoesDaBusca), ['--limite=5', '--peso=1.5']);
});

test('the step line names the pass, and stacks and queues are listed as they leave', () => {
  for (const [registro, metodo, limite, texto] of [
    [[0, 0, null, 0, null, 3, 2, null], 'aprofundamento', '', 'Iteracao 3: limite 2'],
    [[0, 0, null, 0, null, 2, 9, null], 'ida', '', 'Iteracao 2: limite f <= 9'],
    [[0, 0, null, 0, null, 0, null, null], 'profundidade', '8', 'limite 8'],
    [[0, 0, null, 0, null, 0, null, null], 'astar', '', ''],
  ]) {
    assert.equal(textoDaIteracao(registro, metodo, limite), texto);
  }
  // The goal's side is rooted at node 1; node 3 hangs from it.
  const nos = [[0, 0, 0, [[1, 0], [], []], 0, 0, 0, 1, 0, 0], [1, 0, 0, [[], [], [1, 0]], 0, 0, 0, 0, 0, 0],
    [0, 1, 2, [[1], [0], []], 1, 0, 1, 0, 0, 0], [1, 3, 1, [[0], [], [1]], 1, 0, 1, 0, 0, 0]];
  const dados = { nos, pecas: 2, passos: [[2, 3, null, 0, [2, 1, 3], 0, null, 1]] };
  const filas = modeloFronteira({ dados, config: { metodo: 'bidirecional' } }, 0);
  assert.deepEqual(linhasDaFronteira(filas).map((l) => [l.sai, l.celulas[0]]),
    [[true, 'I n2'], [false, 'O n1'], [false, 'O n3']]);
  assert.equal(notaDaFronteira(filas), 'A fronteira tem 4 estados (fila do inicio: 1, fila do objetivo: 3);'
    + ' a tabela mostra os 3 da frente de cada fila.');
  const pilha = modeloFronteira({ dados, config: { metodo: 'ida' } }, 0);
  assert.deepEqual(linhasDaFronteira(pilha).map((l) => l.celulas[0]), ['n2', 'n1', 'n3']);
  assert.equal(notaDaFronteira(pilha), 'A fronteira tem 4 estados; a tabela mostra os 3 do topo.');
});

test('the heap is drawn with the levels whose labels stay 16 px or more in its box', () => {
  // Box (px): levels. One search at 1280x800, side by side, a wide screen, a tiny box.
  for (const [largura, altura, niveis] of [[374, 140, 3], [234, 100, 2], [1000, 300, 4], [50, 50, 1]]) {
    assert.equal(niveisQueCabem(largura, altura), niveis, `${largura}x${altura}`);
  }
  const heap = { tipo: 'heap', tamanho: 9, itens: new Array(9).fill({}) };
  assert.equal(notaDaFronteira(heap, 2), '9 estados; o desenho mostra os 3 do topo.');
});

// The words for a step: what the state is, its numbers, and why it left the
// frontier before the others. Pure: the tests read it under node.

import {
  caminhoAte, DE, DESCARTE, EMPATES, ESTADO, F, FRONTEIRA, G, H, ITERACAO, LIMITE, NO, PAI, PARA,
  PROXIMO, REPETIDO, posicaoDasPilhas, textoDasPilhas,
} from './dados.js';
import { tipoDaFronteira } from './fronteira.js';

// How each method scores a state, by its option name (the engine's table);
// a method not named here is described by its numbers alone.
const REGRAS = { astar: 'f = g + h', largura: 'f = g + h, h fixo', guloso: 'f = h' };

const REGRAS_DESEMPATE = {
  heap: 'decidiu a regra do heap: entre iguais, o empilhado antes fica mais perto da raiz, e a '
    + 'retirada desce pelo filho maior (o direito, no empate)',
  fila: 'decidiu a fila: entre iguais sai o empilhado antes',
  pilha: 'decidiu a pilha: entre iguais sai o empilhado por ultimo',
};

export function numerosDoNo(no) {
  return `g=${no[G]} h=${no[H]} f=${no[F]}`;
}

// Why the state of step record `registro` left the frontier first.
function motivoDaSaida(registro, no, desempate, metodo) {
  const f = no[F];
  const regra = REGRAS[metodo] ? ` (${REGRAS[metodo]})` : '';
  if (registro[PROXIMO] === null) return `f=${f}: era o unico estado na fronteira${regra}.`;
  if (registro[EMPATES] === 0) {
    return `f=${f}, menor que o f=${registro[PROXIMO]} do proximo na fronteira: sai primeiro${regra}.`;
  }
  const outros = registro[EMPATES] === 1 ? 'outro estado' : `outros ${registro[EMPATES]} estados`;
  return `Empate: f=${f} tambem em ${outros} da fronteira; ${REGRAS_DESEMPATE[desempate]}.`;
}

// Why a state left a stack or a queue: their order is the rule, not f.
const SAIDAS = {
  pilha: 'Topo da pilha: sai o ultimo empilhado (o filho do primeiro movimento sai antes dos irmaos).',
  filas: (lado) => `Frente da fila do lado do ${lado}: o lado cuja fila tem menos estados expande a `
    + 'camada inteira (o do inicio no empate), na ordem em que entraram.',
};

// The pass a step belongs to, as the console's trace says it ("Iteracao
// 3: limite 2", "Iteracao 3: limite f <= 9"); depth-first search's depth
// limit ("limite 8"); '' for the methods that have neither.
export function textoDaIteracao(registro, metodo, limite = '') {
  if (registro[ITERACAO] > 0) {
    return `Iteracao ${registro[ITERACAO]}: limite ${metodo === 'ida' ? 'f <= ' : ''}${registro[LIMITE]}`;
  }
  return metodo === 'profundidade' && limite !== '' ? `limite ${limite}` : '';
}

// Where the two searches of bidirectional search met.
function textoDoEncontro(dados) {
  const [filho, outro] = dados.encontro;
  return `As buscas se encontram: o filho n${filho} (${posicaoDasPilhas(dados.nos[filho][ESTADO], dados.pecas)})`
    + ` ja foi alcancado pelo outro lado (n${outro}); a solucao passa por ele.`;
}

const MOTIVO_DO_DESCARTE = ' Mas sua posicao ja foi examinada (busca em grafo): o estado e descartado,'
  + ' sem gerar filhos.';

// The step k (from 0) of a prepared run (dados.prepararBusca), in words:
// {estado, numeros, motivo, filhos}. The numbers are the trace's line: #n
// for the nth state taken, -- for a state dropped.
export function explicarPasso(busca, k, metodo) {
  const { dados, config } = busca;
  const registro = dados.passos[k];
  const no = dados.nos[registro[NO]];
  const tipo = tipoDaFronteira(metodo);
  const lado = caminhoAte(dados.nos, registro[NO])[0] === 0 ? 'inicio' : 'objetivo';
  let motivo = motivoDaSaida(registro, no, config.desempate, metodo);
  if (tipo === 'pilha') motivo = SAIDAS.pilha;
  if (tipo === 'filas') motivo = SAIDAS.filas(lado);
  if (no[PAI] === registro[NO]) {
    motivo = k === 0 ? 'O estado inicial: o unico na fronteira.'
      : 'O estado inicial: cada iteracao recomeca dele, sozinho na pilha.';
  }
  if (k === dados.passos.length - 1 && dados.encontro) motivo += ` ${textoDoEncontro(dados)}`;
  const iteracao = textoDaIteracao(registro, metodo, config.limite);
  const tamanho = `${tipo === 'pilha' ? 'pilha' : 'fronteira'}=${registro[FRONTEIRA]}`;
  const descartado = registro[DESCARTE] === 1;
  const linha = descartado ? `--  ${numerosDoNo(no)}  ${tamanho}  descartado`
    : `#${busca.exames[k]}  ${numerosDoNo(no)}  ${tamanho}`;
  return {
    estado: textoDasPilhas(no[ESTADO]),
    numeros: `${iteracao ? `${iteracao}  ` : ''}${linha}`,
    motivo: descartado ? motivo + MOTIVO_DO_DESCARTE : motivo,
    filhos: descartado ? [] : busca.filhos[registro[NO]].map((id) => {
      const filho = dados.nos[id];
      return `${filho[DE]}->${filho[PARA]}  ${textoDasPilhas(filho[ESTADO])}  ${numerosDoNo(filho)}`
        + (filho[REPETIDO] ? '  (posicao repetida)' : '');
    }),
  };
}

// The words for a step: what the state is, its numbers, and why it left the
// frontier before the others. Pure: the tests read it under node.

import { DE, EMPATES, ESTADO, F, FRONTEIRA, G, H, NO, PARA, PROXIMO, REPETIDO, textoDasPilhas }
  from './dados.js';

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

function descartesDoPasso(quantos) {
  if (quantos === 0) return '';
  return (quantos === 1 ? 'Antes dele, um estado saiu da fronteira e foi descartado'
    : `Antes dele, ${quantos} estados sairam da fronteira e foram descartados`)
    + ' (posicao ja examinada). ';
}

// The step k (from 0) of a prepared run (dados.prepararBusca), in words:
// {estado, numeros, motivo, filhos}.
export function explicarPasso(busca, k, metodo) {
  const { dados, config } = busca;
  const registro = dados.passos[k];
  const no = dados.nos[registro[NO]];
  const motivo = k === 0 ? 'O estado inicial: o unico na fronteira.'
    : motivoDaSaida(registro, no, config.desempate, metodo);
  return {
    estado: textoDasPilhas(no[ESTADO]),
    numeros: `#${k + 1}  ${numerosDoNo(no)}  fronteira=${registro[FRONTEIRA]}`,
    motivo: descartesDoPasso(busca.descartes.get(k + 1) || 0) + motivo,
    filhos: busca.filhos[registro[NO]].map((id) => {
      const filho = dados.nos[id];
      return `${filho[DE]}->${filho[PARA]}  ${textoDasPilhas(filho[ESTADO])}  ${numerosDoNo(filho)}`
        + (filho[REPETIDO] ? '  (posicao repetida)' : '');
    }),
  };
}

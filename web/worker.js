// Runs the engine off the page's thread, so that the page stays responsive
// and a long search can be stopped (the page ends the worker and makes a new
// one). Messages in: {tipo: 'buscar', id, opcoes, respostas, passos, memoria}.
// Messages out: {tipo: 'pronto', tabela} with the names the engine offers;
// while a search runs, {tipo: 'gravacao', texto} with its recorded steps' JSON
// and {tipo: 'progresso', examinados, profundidade}; then {tipo:
// 'resultado', id, dados} with pagerun's JSON read, or {tipo: 'falha', id,
// mensagem} when the module fails.
'use strict';

if (typeof HanoiMotor === 'undefined') importScripts('motor.js');

const motor = HanoiMotor();

motor.then((m) => {
  const ponteiro = m.ccall('hanoi_tabela', 'number', [], []);
  const tabela = JSON.parse(m.UTF8ToString(ponteiro));
  m._free(ponteiro);
  postMessage({ tipo: 'pronto', tabela });
});

// The program's words for a failed allocation (explainallocationfailure):
// the module ran out of memory, whether a null came back or the heap could
// not grow. Other faults are named as the module names them.
function palavrasDaFalha(erro) {
  const texto = String(erro && erro.message || erro);
  if (erro === 'sem memoria' || erro instanceof RangeError
      || /memory|Cannot enlarge|OOM|abort/i.test(texto)) {
    return 'hanoi: memoria esgotada';
  }
  return `hanoi: falha no motor da pagina: ${texto}`;
}

onmessage = async (evento) => {
  const pedido = evento.data;
  const m = await motor;
  try {
    const ponteiro = m.ccall('hanoi_buscar', 'number', ['string', 'string', 'number', 'number'],
      [pedido.opcoes, pedido.respostas, pedido.passos, pedido.memoria || 0]);
    if (ponteiro === 0) throw 'sem memoria';
    const texto = m.UTF8ToString(ponteiro);
    m._free(ponteiro);
    postMessage({ tipo: 'resultado', id: pedido.id, dados: JSON.parse(texto) });
  } catch (erro) {
    postMessage({ tipo: 'falha', id: pedido.id, mensagem: palavrasDaFalha(erro) });
  }
};

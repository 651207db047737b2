// Runs the engine off the page's thread, so that the page stays responsive
// and a long search can be stopped (the page ends the worker and makes a new
// one). Messages in: {tipo: 'buscar', id, opcoes, respostas, passos}.
// Messages out: {tipo: 'pronto', tabela} with the names the engine offers, {tipo: 'progresso', examinados,
// profundidade} while a search runs, {tipo: 'resultado', id, dados} with
// pagerun's JSON read, or {tipo: 'falha', id, mensagem} when the module fails.
'use strict';

if (typeof HanoiMotor === 'undefined') importScripts('motor.js');

const motor = HanoiMotor();

motor.then((m) => {
  const ponteiro = m.ccall('hanoi_tabela', 'number', [], []);
  const tabela = JSON.parse(m.UTF8ToString(ponteiro));
  m._free(ponteiro);
  postMessage({ tipo: 'pronto', tabela });
});

onmessage = async (evento) => {
  const pedido = evento.data;
  const m = await motor;
  try {
    const ponteiro = m.ccall('hanoi_buscar', 'number', ['string', 'string', 'number'],
      [pedido.opcoes, pedido.respostas, pedido.passos]);
    // Null: not even the answer's text could be allocated. The words are
    // the program's own for a failed allocation (explainallocationfailure).
    if (ponteiro === 0) throw new Error('hanoi: memoria esgotada');
    const texto = m.UTF8ToString(ponteiro);
    m._free(ponteiro);
    postMessage({ tipo: 'resultado', id: pedido.id, dados: JSON.parse(texto) });
  } catch (erro) {
    postMessage({ tipo: 'falha', id: pedido.id, mensagem: String(erro && erro.message || erro) });
  }
};

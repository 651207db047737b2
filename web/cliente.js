// The page's side of the worker (worker.js): asks for runs and hears their
// steps, progress and result. A search the page stops ends its worker; the
// next search gets a fresh one.

// A search stopped by the page, with what it had sent: its recorded steps
// (null if none came yet) and its last progress (null if none).
export class Interrompida extends Error {
  constructor(gravacao, progresso) {
    super('Busca interrompida a pedido.');
    this.gravacao = gravacao;
    this.progresso = progresso;
  }
}

// A failure of the engine itself, with the last progress heard.
export class FalhaDoMotor extends Error {
  constructor(mensagem, progresso) {
    super(mensagem);
    this.progresso = progresso;
  }
}

// `eventos`: {pronto(tabela), progresso({examinados, profundidade})}.
export function criarCliente(eventos) {
  let worker = null;
  let pedido = null;  // {id, resolve, reject, gravacao, progresso}: one at a time
  let proximoId = 1;

  function ouvir(evento) {
    const m = evento.data;
    if (m.tipo === 'pronto') {
      eventos.pronto(m.tabela);
      return;
    }
    if (!pedido) return;
    if (m.tipo === 'progresso') {
      pedido.progresso = { examinados: m.examinados, profundidade: m.profundidade };
      eventos.progresso(pedido.progresso);
    } else if (m.tipo === 'gravacao') {
      pedido.gravacao = m.texto;
    } else if (m.id === pedido.id) {
      const { resolve, reject, progresso } = pedido;
      pedido = null;
      if (m.tipo === 'resultado') {
        resolve(m.dados);
      } else {
        // A module that failed may not be sound any more.
        novo();
        reject(new FalhaDoMotor(m.mensagem, progresso));
      }
    }
  }

  function novo() {
    if (worker) worker.terminate();
    const fonte = document.getElementById('fonte-worker');
    // The single file makes its worker from its own text: a worker from a
    // file of its own would be refused when the page is opened from disk.
    worker = fonte
      ? new Worker(URL.createObjectURL(new Blob([fonte.textContent], { type: 'text/javascript' })))
      : new Worker('worker.js');
    worker.onmessage = ouvir;
    worker.onerror = (evento) => {
      evento.preventDefault();
      if (!pedido) return;
      const { reject, progresso } = pedido;
      pedido = null;
      novo();
      reject(new FalhaDoMotor(evento.message, progresso));
    };
  }

  return {
    iniciar: novo,
    // `memoria`: MiB a search may hold (0: what the heap allows).
    buscar(opcoes, respostas, passos, memoria = 0) {
      return new Promise((resolve, reject) => {
        pedido = { id: proximoId++, resolve, reject, gravacao: null, progresso: null };
        worker.postMessage({ tipo: 'buscar', id: pedido.id, opcoes, respostas, passos, memoria });
      });
    },
    parar() {
      if (pedido) {
        const { reject, gravacao, progresso } = pedido;
        pedido = null;
        reject(new Interrompida(gravacao && JSON.parse(gravacao), progresso));
      }
      novo();
    },
    // A fresh module: the heap a search stopped for memory grew never comes
    // down, and the next search should have the room this one had.
    renovar: novo,
  };
}

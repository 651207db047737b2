#!/usr/bin/python3
"""Measures the page (not a test: the figures go to docs/performance.md).

  medir.py --pagina DIR --hanoi PROGRAM [--vezes N]

In headless Chromium at 1280x800, the page served from 127.0.0.1:
  - ready: ms from opening to ready, warm (the second and later openings);
  - a step drawn: ms of script per step (dataset.msPasso) and from the key
    press to the next frame, with 15 pieces (A*) and 7 (breadth-first graph
    search, all 2,187 positions in the state space);
  - the engine: search time in the page (the worker's clock; the search
    searched again in the same worker, warm) against the console's CPU time
    (both with the statistics, -e), A* with 15 pieces and breadth-first
    with 5, the median of N runs each; the end of each search in the page
    heard by the page itself, so that no polling of the driver runs beside
    it. The worker's clock counts wall time;
    beside it, the time the browser's worker threads waited for a CPU during
    each search, as the kernel counts it (/proc/PID/task/TID/schedstat). On
    a machine of few cores the page's drawing and the browser's own threads
    share them with the worker, so the same searches are also timed in a
    worker of the page's module alone, with nothing drawn.
"""

import argparse
import functools
import http.server
import os
import re
import statistics
import subprocess
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait


def serve(folder):
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    handler.func.log_message = lambda *args: None
    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{httpd.server_port}/index.html"


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 1280, "height": 800, "deviceScaleFactor": 1, "mobile": False})
    return driver


def open_page(driver, url):
    driver.get(url)
    WebDriverWait(driver, 300).until(
        lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-estado") == "pronto")


SEARCH_TIME = re.compile(r"^Tempo de CPU da busca: ([\d.]+) s$", re.MULTILINE)


def steps(driver, url, count):
    """Script ms and key-to-frame ms of `count` steps forward."""
    open_page(driver, url)
    script, frame = [], []
    for _ in range(count):
        frame.append(driver.execute_async_script("""
            const done = arguments[0];
            const start = performance.now();
            document.body.dispatchEvent(new KeyboardEvent('keydown', {key: 'ArrowRight', bubbles: true}));
            requestAnimationFrame(() => setTimeout(() => done(performance.now() - start)));"""))
        script.append(float(driver.find_element(By.TAG_NAME, "body").get_attribute("data-ms-passo")))
    return script, frame


# A worker of the page's module alone: it answers each [options, answers]
# with the statistics block of that search.
ALONE = """
const done = arguments[0];
const code = `importScripts('${new URL('motor.js', location.href)}');
HanoiMotor().then((m) => {
  onmessage = (e) => {
    const p = m.ccall('hanoi_buscar', 'number', ['string', 'string', 'number', 'number'],
                      [e.data[0], e.data[1], 1, 0]);
    const dados = JSON.parse(m.UTF8ToString(p));
    m._free(p);
    postMessage(dados.estatisticas);
  };
  postMessage('pronto');
});`;
window.motor = new Worker(URL.createObjectURL(new Blob([code])));
window.motor.onmessage = () => done();
"""

# Its answer to one search; the recorded steps and progress it posts as the
# page's worker does are let by.
SEARCH_ALONE = """
const done = arguments[2];
window.motor.onmessage = (e) => { if (typeof e.data === 'string') done(e.data); };
window.motor.postMessage([arguments[0], arguments[1]]);
"""


# A click on Buscar, answered once the page is ready again with the
# statistics: heard by the page itself, so that no polling of the driver's
# runs in the browser beside the search being timed.
SEARCH_IN_PAGE = """
const done = arguments[0];
const finished = () => document.body.dataset.estado === 'pronto'
  && document.getElementById('estatisticas').textContent;
const watcher = new MutationObserver(() => { if (finished()) { watcher.disconnect(); done(); } });
watcher.observe(document.body, { attributes: true, attributeFilter: ['data-estado'] });
document.getElementById('buscar').click();
"""


def worker_waits():
    """Ms that the browser's worker threads have waited for a CPU so far."""
    total = 0
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if b"--type=renderer" not in open(f"/proc/{pid}/cmdline", "rb").read():
                continue
            for tid in os.listdir(f"/proc/{pid}/task"):
                task = f"/proc/{pid}/task/{tid}"
                if open(f"{task}/comm").read().strip() == "DedicatedWorker":
                    total += int(open(f"{task}/schedstat").read().split()[1])
        except OSError:
            pass
    return total / 1e6


def engine_alone(driver, url, answers, count):
    """Search ms of `count` searches of `answers` ("15 0") in a worker of
    the module alone, and the ms its thread waited for a CPU during each."""
    driver.get(url.replace("index.html", "pagina.css"))
    driver.execute_async_script(ALONE)
    # Warm, as in the page: the first searches run while the browser still
    # compiles the module's optimised code beside them.
    for _ in range(3):
        driver.execute_async_script(SEARCH_ALONE, "-e", answers)
    times, waits = [], []
    for _ in range(count):
        before = worker_waits()
        text = driver.execute_async_script(SEARCH_ALONE, "-e", answers)
        waits.append(worker_waits() - before)
        times.append(float(SEARCH_TIME.search(text).group(1)) * 1000)
    return times, waits


def summary(values):
    values = sorted(values)
    return f"median {statistics.median(values):.1f}, 90th {values[int(0.9 * (len(values) - 1))]:.1f}, max {values[-1]:.1f}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pagina", required=True)
    parser.add_argument("--hanoi", required=True)
    parser.add_argument("--vezes", type=int, default=5)
    args = parser.parse_args()
    url = serve(args.pagina)
    driver = browser()
    driver.set_script_timeout(300)
    try:
        ready = []
        for _ in range(args.vezes + 1):
            open_page(driver, url)
            ready.append(float(driver.find_element(By.TAG_NAME, "body").get_attribute("data-ms-pronto")))
        print(f"ready, warm (ms): {summary(ready[1:])}; cold {ready[0]:.0f}")
        for name, query in (("A*, 15 pieces, from step 1500", "?pecas=15&passo=1500"),
                            ("breadth-first graph search, 7 pieces, from step 300",
                             "?pecas=7&metodo=largura&grafo=1&passo=300")):
            script, frame = steps(driver, url + query, 60)
            print(f"step drawn, {name}: script ms {summary(script)}; key to frame ms {summary(frame)}")
        for name, query, answers in (("A* 15", "?pecas=15&gravados=1", "15 0"),
                                     ("breadth-first 5", "?pecas=5&metodo=largura&gravados=1", "5 1")):
            page, pagewaits, console = [], [], []
            open_page(driver, url + query)
            for _ in range(args.vezes):
                # The same worker searches again: its module compiled, warm.
                before = worker_waits()
                driver.execute_async_script(SEARCH_IN_PAGE)
                pagewaits.append(worker_waits() - before)
                text = driver.find_element(By.ID, "estatisticas").get_attribute("textContent")
                page.append(float(SEARCH_TIME.search(text).group(1)) * 1000)
                out = subprocess.run([args.hanoi, "-e"], input=f"{answers} .\n".encode(),
                                     capture_output=True, check=True).stdout.decode()
                console.append(float(SEARCH_TIME.search(out).group(1)) * 1000)
            alone, waits = engine_alone(driver, url, answers, args.vezes)
            middle = statistics.median(console)
            print(f"engine, {name}: page ms {summary(page)}; its worker waited for a CPU ms "
                  f"{summary(pagewaits)}; console ms {summary(console)}; "
                  f"ratio of medians {statistics.median(page) / middle:.2f}")
            print(f"engine alone, {name}: worker ms {summary(alone)}; waited for a CPU ms "
                  f"{summary(waits)}; ratio to the console's median {statistics.median(alone) / middle:.2f}")
    finally:
        driver.quit()


if __name__ == "__main__":
    main()

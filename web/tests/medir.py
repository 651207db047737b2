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
    with 5, the median of N runs each.
"""

import argparse
import functools
import http.server
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
        for name, query, answers in (("A* 15", "?pecas=15&gravados=1", "15 0 .\n"),
                                     ("breadth-first 5", "?pecas=5&metodo=largura&gravados=1", "5 1 .\n")):
            page, console = [], []
            open_page(driver, url + query)
            for _ in range(args.vezes):
                # The same worker searches again: its module compiled, warm.
                driver.find_element(By.ID, "buscar").click()
                WebDriverWait(driver, 300).until(
                    lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-estado") == "pronto"
                    and d.find_element(By.ID, "estatisticas").get_attribute("textContent"))
                text = driver.find_element(By.ID, "estatisticas").get_attribute("textContent")
                page.append(float(SEARCH_TIME.search(text).group(1)) * 1000)
                out = subprocess.run([args.hanoi, "-e"], input=answers.encode(), capture_output=True,
                                     check=True).stdout.decode()
                console.append(float(SEARCH_TIME.search(out).group(1)) * 1000)
            ratio = statistics.median(page) / statistics.median(console)
            print(f"engine, {name}: page ms {summary(page)}; console ms {summary(console)}; "
                  f"ratio of medians {ratio:.2f}")
    finally:
        driver.quit()


if __name__ == "__main__":
    main()

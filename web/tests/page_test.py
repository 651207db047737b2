#!/usr/bin/python3
"""The teaching page in a real browser: Debian's headless Chromium, driven by
Debian's chromedriver through selenium, offline.

  page_test.py --pagina DIR --arquivo FILE --hanoi PROGRAM [--retrato PNG]

DIR is the built page (served here from 127.0.0.1), FILE the self-contained
page (opened from disk), PROGRAM the console program whose output the page
must repeat. With --retrato, the screenshot is also written there.
"""

import argparse
import functools
import http.server
import re
import struct
import subprocess
import sys
import threading
import unittest
import urllib.parse
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

ARGS = None
TIME_LINES = ("Tempo", "Estados examinados por segundo:")


def native(answers, *options):
    """The console program's standard output for the given answers."""
    run = subprocess.run([ARGS.hanoi, *options], input=answers.encode(), capture_output=True,
                         timeout=120, check=False)
    return run.stdout.decode()


def trace_steps(trace):
    """Each state leaving the frontier in a trace, taken (#n) or dropped
    (--), as the page shows its step: the state, and the line's numbers
    (its spaces as the browser's text of an element keeps them: one)."""
    return [(state, f"{mark} {' '.join(numbers.split())}") for mark, state, numbers in
            re.findall(r"^(#\d+|--)  (.+?)  (g=.*)$", trace, re.MULTILINE)]


# The visible texts whose colour and background (the first opaque one
# behind them: an element's, or a node's own shape in a drawing) differ by
# less than 4.5:1, with their ratio; disabled controls are exempt.
LOW_CONTRAST = """
const luminance = (colour) => {
  const [r, g, b] = colour.match(/[\\d.]+/g).slice(0, 3).map((v) => {
    const c = Number(v) / 255;
    return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
  });
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
};
const ratio = (a, b) => {
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
};
const opaque = (colour) => colour && colour !== 'none' && !/rgba\\(.*, 0\\)$|transparent/.test(colour);
const behind = (element) => {
  for (let e = element; e; e = e.parentElement) {
    const shape = e.matches('g.no') && e.querySelector('rect');
    const colour = shape ? getComputedStyle(shape).fill : getComputedStyle(e).backgroundColor;
    if (opaque(colour)) return colour;
  }
  return 'rgb(255, 255, 255)';
};
const shown = (e) => e.getClientRects().length > 0 && !e.closest('[hidden], :disabled');
const texts = [...document.querySelectorAll('body *')].filter((e) => shown(e)
  && [...e.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim()));
return texts.map((e) => {
  const style = getComputedStyle(e);
  const colour = e instanceof SVGElement ? style.fill : style.color;
  return [e.textContent.trim().slice(0, 30), Math.round(ratio(colour, behind(e)) * 100) / 100];
}).filter(([, r]) => r < 4.5);
"""


def statistics_block(text):
    """The -e block without the lines that measure time."""
    lines = text[text.index("Estatisticas da busca"):].splitlines()
    return [line for line in lines if not line.startswith(TIME_LINES)]


def png_pixels(png):
    """The distinct RGB colours and the size of an 8-bit RGB or RGBA PNG."""
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    position, data, header = 8, b"", None
    while position < len(png):
        (length,) = struct.unpack(">I", png[position:position + 4])
        kind = png[position + 4:position + 8]
        body = png[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            data += body
        position += 12 + length
    width, height, depth, colour = header[:4]
    assert depth == 8 and colour in (2, 6), header
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(data)
    stride = width * channels
    previous = bytearray(stride)
    colours = set()
    for row in range(height):
        start = row * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upleft = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                guess = left + up - upleft
                pa, pb, pc = abs(guess - left), abs(guess - up), abs(guess - upleft)
                nearest = left if pa <= pb and pa <= pc else up if pb <= pc else upleft
                line[i] = (line[i] + nearest) & 255
        for i in range(0, stride, channels * 7):  # a sample is enough
            colours.add(bytes(line[i:i + 3]))
        previous = line
    return colours, width, height


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Server:
    """The built page served from 127.0.0.1 on a free port."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_port}/index.html"
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,2400",
                 "--disable-dev-shm-usage", "--no-first-run", "--disable-extensions",
                 "--disable-background-networking", "--disable-component-update"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server(ARGS.pagina)
        cls.driver = browser()
        cls.driver.set_script_timeout(120)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.close()

    def open(self, url):
        self.driver.get(url)
        self.wait_until("pronto")
        self.driver.get_log("browser")  # what is logged from here on is the test's

    def wait_until(self, state, timeout=120):
        WebDriverWait(self.driver, timeout).until(
            lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-estado") == state)

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def search(self, pieces, method):
        field = self.element("pecas")
        field.clear()
        field.send_keys(str(pieces))
        Select(self.element("metodo")).select_by_value(str(method))
        self.element("buscar").click()
        WebDriverWait(self.driver, 120).until(
            lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-estado") == "ocupado"
            or d.find_element(By.ID, "estatisticas").text)
        self.wait_until("pronto")

    def console_errors(self):
        return [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]

    def test_loads_with_no_console_error(self):
        self.driver.get(self.server.url)
        self.wait_until("pronto")
        self.assertEqual(self.console_errors(), [])
        for name in ("pecas", "metodo", "heuristica", "buscar", "proximo", "anterior", "estado",
                     "estatisticas"):
            self.assertTrue(self.element(name), name)

    def test_statistics_are_the_console_block(self):
        self.open(self.server.url)
        for pieces, method in ((1, 0), (3, 0), (4, 1), (5, 2), (7, 0), (4, 2), (5, 1), (10, 0)):
            with self.subTest(pieces=pieces, method=method):
                self.search(pieces, method)
                expected = statistics_block(native(f"{pieces} {method} .\n", "-e"))
                shown = statistics_block(self.element("estatisticas").text)
                self.assertEqual(shown, expected)
                self.assertEqual(self.element("mensagem").text, "")
        self.assertEqual(self.console_errors(), [])

    def test_the_textbook_methods_give_the_console_statistics(self):
        # Each setup comes in by the address, limit and weight included.
        for pieces, method, heuristic, graph, limit, weight in (
                (3, "profundidade", "padrao", False, "8", ""),
                (3, "aprofundamento", "padrao", False, "", ""),
                (4, "ida", "fora", False, "", ""),
                (4, "bidirecional", "padrao", False, "", ""),
                (4, "ponderado", "padrao", False, "", "1.5"),
                (4, "profundidade", "padrao", True, "", "")):
            with self.subTest(pieces=pieces, method=method, limit=limit, weight=weight):
                choices = {"pecas": pieces, "metodo": method, "heuristica": heuristic,
                           "grafo": int(graph), "limite": limit, "peso": weight}
                self.open(self.server.url + "?" + urllib.parse.urlencode(
                    {name: value for name, value in choices.items() if value not in ("", 0)}))
                WebDriverWait(self.driver, 120).until(
                    lambda d: d.find_element(By.ID, "estatisticas").text)
                self.assertEqual(self.element("mensagem").text, "")
                options = [f"--metodo={method}", f"--heuristica={heuristic}"]
                options += (["--grafo"] if graph else []) + ([f"--limite={limit}"] if limit else [])
                options += [f"--peso={weight}"] if weight else []
                self.assertEqual(statistics_block(self.element("estatisticas").text),
                                 statistics_block(native(f"{pieces} .\n", "-e", *options)))
                self.assertEqual(self.console_errors(), [])

    def test_stepping_shows_the_states_of_the_trace_in_order(self):
        self.open(self.server.url)
        for pieces, method in ((2, 0), (3, 2)):
            with self.subTest(pieces=pieces, method=method):
                expected = trace_steps(native(f"{pieces} {method} .\n", "--rastro=100"))
                self.search(pieces, method)
                shown = [self.shown_step()]
                while self.element("proximo").is_enabled():
                    self.element("proximo").click()
                    shown.append(self.shown_step())
                self.assertEqual(shown, expected)
                # And back again, one step at a time.
                self.element("anterior").click()
                self.assertEqual(self.shown_step(), expected[-2])

    def shown_step(self):
        return self.element("estado").text, self.element("numeros1").text

    def set_lab(self, heuristic, ties, graph, start, goal):
        # The goal first: it decides whether padrao may be chosen.
        for name, value in (("inicio", start), ("objetivo", goal)):
            self.type_into(name, value)
        # The bar shows the estimate only for the methods that use one.
        if self.element("heuristica").is_displayed():
            Select(self.element("heuristica")).select_by_value(heuristic)
        Select(self.element("desempate")).select_by_value(ties)
        if self.element("grafo").is_selected() != graph:
            self.element("grafo").click()

    def type_into(self, name, value):
        """Sets a field, folded away or not, as typing and leaving it would."""
        self.driver.execute_script(
            "arguments[0].value = arguments[1];"
            "arguments[0].dispatchEvent(new Event('change', {bubbles: true}));",
            self.element(name), value)

    def test_the_lab_options_give_the_console_search(self):
        self.open(self.server.url)
        for pieces, method, heuristic, ties, graph, start, goal in (
                (4, 0, "zero", "fila", False, "1111", "3333"),
                (4, 2, "fora", "pilha", True, "1111", "3333"),
                (3, 1, "padrao", "heap", True, "111", "333"),
                (4, 0, "exata", "pilha", False, "2131", "1223")):
            with self.subTest(pieces=pieces, method=method, heuristic=heuristic, ties=ties,
                              graph=graph, start=start, goal=goal):
                options = [f"--heuristica={heuristic}", f"--desempate={ties}",
                           f"--inicio={start}", f"--objetivo={goal}"] + (["--grafo"] if graph else [])
                field = self.element("pecas")
                field.clear()
                field.send_keys(str(pieces))
                Select(self.element("metodo")).select_by_value(str(method))
                self.set_lab(heuristic, ties, graph, start, goal)
                self.element("buscar").click()
                WebDriverWait(self.driver, 120).until(
                    lambda d: d.find_element(By.ID, "contador").text.startswith("Passo 1 de")
                    and d.find_element(By.TAG_NAME, "body").get_attribute("data-estado") == "pronto")
                self.assertEqual(self.element("mensagem").text, "")
                answers = f"{pieces} {method} .\n"
                self.assertEqual(statistics_block(self.element("estatisticas").text),
                                 statistics_block(native(answers, "-e", *options)))
                # Graph search's dropped states are steps of their own, as
                # the trace's "--" lines.
                expected = trace_steps(native(answers, "--rastro=25", *options))
                shown = [self.shown_step()]
                while len(shown) < len(expected):
                    self.element("proximo").click()
                    shown.append(self.shown_step())
                self.assertEqual(shown, expected)
                # The next search must show its own first step.
                self.driver.execute_script("document.getElementById('contador').textContent = ''")
        self.assertEqual(self.console_errors(), [])

    def stop_a_long_search(self):
        """Starts breadth-first search with 6 pieces and stops it once it runs."""
        field = self.element("pecas")
        field.clear()
        field.send_keys("6")
        Select(self.element("metodo")).select_by_value("1")
        self.element("buscar").click()
        # Tree search breadth-first with 6 pieces cannot fit: the page warns
        # first, and searches on a second click.
        self.assertIn("nao cabe", self.element("mensagem").text)
        self.assertEqual(self.element("estatisticas").text, "")
        self.element("buscar").click()
        WebDriverWait(self.driver, 120).until(
            lambda d: d.find_element(By.ID, "progresso").text.startswith("Nos abertos: "))
        self.element("parar").click()
        self.wait_until("pronto")

    def test_a_long_search_can_be_stopped_and_the_page_goes_on(self):
        self.open(self.server.url)
        self.stop_a_long_search()
        self.assertRegex(self.element("mensagem").text,
                         r"^Busca interrompida a pedido\. Ate ali: pelo menos \d+ estados examinados")
        # The steps recorded before the stop stay, marked as such.
        self.assertIn("interrompida", self.element("contador").text)
        self.assertEqual(self.element("estado").text, "1:[5 4 3 2 1 0] 2:[] 3:[]")
        self.assertIn("interrompida", self.element("estatisticas").text)
        self.search(3, 0)
        self.assertIn("Estados examinados: 9", self.element("estatisticas").text)

    def test_a_new_search_clears_every_panel_of_the_last(self):
        # However the new search ends (an error from the engine, a stop),
        # nothing of the last one stays on the screen.
        panels = ("estatisticas", "movimentos", "movimento", "contador", "estado", "numeros1",
                  "motivo", "filhos1", "separacao")
        drawings = ("pinos1", "pinos-solucao", "heap", "arvore")
        self.open(self.server.url)

        def refused_by_the_engine():
            # padrao toward another goal: refused before anything runs.
            field = self.element("pecas")
            field.clear()
            field.send_keys("4")
            Select(self.element("metodo")).select_by_value("0")
            self.set_lab("padrao", "heap", False, "1111", "1113")
            self.element("buscar").click()
            WebDriverWait(self.driver, 120).until(
                lambda d: d.find_element(By.ID, "mensagem").text
                and d.find_element(By.TAG_NAME, "body").get_attribute("data-estado") == "pronto")

        for name, new_search in (("refused", refused_by_the_engine),):
            with self.subTest(name):
                self.set_lab("padrao", "heap", False, "1111", "3333")
                self.search(4, 0)
                self.assertTrue(self.element("estatisticas").text)
                new_search()
                self.assertTrue(self.element("mensagem").text)
                for panel in panels:
                    self.assertEqual(self.element(panel).text, "", panel)
                for drawing in drawings:
                    self.assertEqual(self.driver.execute_script(
                        "return arguments[0].childElementCount", self.element(drawing)), 0, drawing)
                self.assertEqual(self.driver.execute_script(
                    "return arguments[0].tBodies[0].childElementCount", self.element("aberta")), 0)
                for button in ("anterior", "proximo", "tocar", "animar"):
                    self.assertFalse(self.element(button).is_enabled(), button)

    def test_a_search_stopped_for_memory_gives_the_same_numbers_again(self):
        # Greedy search with fora never ends: it stops by its budget (never
        # by a failed allocation, which would say no more than "memoria
        # esgotada"), and the second time at the very same state.
        # memoria=MIB caps the engine's memory, as the console's budget does.
        self.open(self.server.url + "?memoria=300")
        self.set_lab("fora", "heap", False, "1" * 15, "3" * 15)
        messages = []
        for _ in range(2):
            self.search(15, 2)
            messages.append(self.element("mensagem").text)
            self.assertIn("Solucao: nenhuma (memoria esgotada)", self.element("estatisticas").text)
        self.assertRegex(messages[0], r"^hanoi: memoria esgotada \(\d+ MiB em uso\): busca "
                                      r"interrompida com \d+ nos examinados, profundidade \d+$")
        self.assertEqual(messages[1], messages[0])

    def test_clicks_on_the_pegs_set_the_start_and_the_goal(self):
        self.open(self.server.url)
        third = {1: -100, 2: 0, 3: 100}  # the pegs' offsets from the picture's centre
        for picture, clicks, position in (("inicio", (1, 2), "112"), ("inicio", (1, 3), "132"),
                                          ("objetivo", (3, 1), "331"), ("objetivo", (2, 2), "331")):
            with self.subTest(picture=picture, clicks=clicks):
                for peg in clicks:
                    ActionChains(self.driver).move_to_element_with_offset(
                        self.element("desenho-" + picture), third[peg], 0).click().perform()
                self.assertEqual(self.element(picture).get_attribute("value"), position)
        self.assertEqual(self.console_errors(), [])

    def test_every_control_is_named_reachable_by_keyboard_and_readable(self):
        self.on_screen(1280, 800)
        # The start's pegs are reached with Tab from its field, and chosen
        # with Enter and space, as the clicks above.
        self.open(self.server.url + "?pecas=3")
        self.element("mais").click()
        self.element("inicio").click()
        chosen = []
        for key in (Keys.TAB, Keys.ENTER, Keys.TAB, Keys.SPACE):
            ActionChains(self.driver).send_keys(key).perform()
            if key == Keys.TAB:
                chosen.append(self.driver.switch_to.active_element.get_attribute("aria-label"))
        self.assertEqual(chosen, ["inicio: pino 1, 3 pecas", "inicio: pino 2, vazio"])
        self.assertEqual(self.element("inicio").get_attribute("value"), "112")
        for address in ("?pecas=4&metodo=largura&grafo=1&passo=12", "?pecas=3&metodo2=guloso&passo=5"):
            with self.subTest(address):
                self.open(self.server.url + address)
                self.element("mais").click()
                unnamed = self.driver.execute_script(
                    "return [...document.querySelectorAll('input, select, button, [role=button]')]"
                    ".filter((c) => !(c.labels?.length || c.getAttribute('aria-label')"
                    " || c.getAttribute('aria-labelledby') || c.textContent.trim()))"
                    ".map((c) => c.id || c.outerHTML.slice(0, 60))")
                self.assertEqual(unnamed, [])
                self.assertEqual(self.driver.execute_script(LOW_CONTRAST), [])

    def test_screenshot_is_not_blank(self):
        self.open(self.server.url)
        self.element("ladoalado").click()
        self.search(3, 0)
        for _ in range(4):
            self.element("proximo").click()
        self.element("comparar").click()
        WebDriverWait(self.driver, 300).until(
            lambda d: len(d.find_elements(By.CSS_SELECTOR, "#grafico polyline")) == 6)
        self.assertEqual(self.element("mensagem").text, "")
        png = self.driver.get_screenshot_as_png()
        if ARGS.retrato:
            with open(ARGS.retrato, "wb") as picture:
                picture.write(png)
        colours, width, height = png_pixels(png)
        self.assertGreater(width * height, 0)
        self.assertGreater(len(colours), 20)

    def on_screen(self, width, height):
        """The page's own viewport (not the window's) set to width x height."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        self.addCleanup(self.driver.execute_cdp_cmd, "Emulation.clearDeviceMetricsOverride", {})

    def test_one_projected_screen_holds_the_step_the_frontier_the_tree_and_the_space(self):
        self.on_screen(1280, 800)
        for address, panels in (
                ("?pecas=15&passo=40", ("busca1", "estado", "motivo", "fronteira", "arvore", "espaco")),
                ("?pecas=4&metodo2=largura&passo=10",
                 ("motivo", "motivo2", "fronteira", "fronteira2", "arvore", "arvore2", "espaco",
                  "espaco2"))):
            with self.subTest(address):
                self.open(self.server.url + address)
                self.wait_until("pronto")
                for panel in panels:
                    box = self.driver.execute_script(
                        "const r = arguments[0].getBoundingClientRect();"
                        "return [r.left, r.top, r.right, r.bottom, r.width * r.height]",
                        self.element(panel))
                    self.assertGreater(box[4], 0, panel)
                    self.assertTrue(box[0] >= 0 and box[1] >= 0 and box[2] <= 1280 and box[3] <= 800,
                                    f"{panel} {box}")
                for text in ("estado", "motivo"):
                    size = self.driver.execute_script(
                        "return parseFloat(getComputedStyle(arguments[0]).fontSize)", self.element(text))
                    self.assertGreaterEqual(size, 18, text)
                # The labels of the tree's and the heap's nodes, as drawn
                # on the screen (after the drawings' scaling), 16 px or more.
                sizes = self.driver.execute_script(
                    "return [...document.querySelectorAll('.desenho-arvore .no text, svg.heap .no text')]"
                    " .filter((t) => t.getBoundingClientRect().height > 0)"
                    " .map((t) => t.getScreenCTM().a * parseFloat(t.getAttribute('font-size')))")
                self.assertTrue(sizes)
                self.assertGreaterEqual(min(sizes), 16)
                # Each node's label fits inside its node.
                overflow = self.driver.execute_script(
                    "return [...document.querySelectorAll('#arvore .no')].filter((g) =>"
                    " g.querySelector('text').getBBox().width > g.querySelector('rect').getBBox().width)"
                    ".length")
                self.assertEqual(overflow, 0)

    def test_the_address_restores_the_setup_runs_it_and_goes_to_the_step(self):
        self.open(self.server.url + "?pecas=4&metodo=guloso&heuristica=fora&grafo=1&passo=5")
        self.wait_until("pronto")
        self.assertEqual(self.element("contador").text, "Passo 5 de " + self.element("linha").get_attribute("max"))
        options = ["--heuristica=fora", "--grafo"]
        self.assertEqual(statistics_block(self.element("estatisticas").text),
                         statistics_block(native("4 2 .\n", "-e", *options)))
        trace = trace_steps(native("4 2 .\n", "--rastro=5", *options))
        self.assertEqual(self.shown_step(), trace[4])
        self.element("proximo").click()
        self.assertTrue(self.driver.execute_script("return location.search").endswith("&passo=6"))

    def test_the_timeline_and_its_keys(self):
        self.open(self.server.url)
        self.search(3, 0)
        body = self.driver.find_element(By.TAG_NAME, "body")
        last = self.element("linha").get_attribute("max")
        for key, shown in ((Keys.END, last), (Keys.HOME, "1"), (Keys.ARROW_RIGHT, "2"),
                           (Keys.ARROW_LEFT, "1")):
            body.send_keys(key)
            self.assertEqual(self.element("contador").text, f"Passo {shown} de {last}")
            self.assertEqual(self.element("linha").get_attribute("value"), shown)
        body.send_keys(Keys.SPACE)
        self.assertEqual(self.element("tocar").text, "Pausar")
        body.send_keys(Keys.SPACE)
        self.assertEqual(self.element("tocar").text, "Reproduzir")

    def test_side_by_side_draws_both_searches_and_goes_to_where_they_part(self):
        self.open(self.server.url + "?pecas=3&metodo2=largura")
        self.wait_until("pronto")
        for drawing in ("heap", "heap2", "arvore", "arvore2"):
            self.assertGreater(self.driver.execute_script(
                "return arguments[0].childElementCount", self.element(drawing)), 0, drawing)
        self.assertTrue(self.element("movimentos2").text)
        part = int(re.search(r"passo (\d+)", self.element("separacao").text).group(1))
        self.element("ir-separacao").click()
        self.assertTrue(self.element("contador").text.startswith(f"Passo {part} de"))
        self.assertNotEqual(self.element("estado").text, self.element("estado2").text)

    def test_a_wrong_position_is_said_at_its_field_and_nothing_is_searched(self):
        self.open(self.server.url)
        field = self.element("pecas")
        field.clear()
        field.send_keys("3")
        for name, value in (("inicio", "2314"), ("inicio", "21"), ("objetivo", "1a3")):
            with self.subTest(name=name, value=value):
                self.type_into("inicio", "")
                self.type_into("objetivo", "")
                self.type_into(name, value)
                self.element("buscar").click()
                self.assertIn(f"A posicao de {name} nao vale", self.element("mensagem").text)
                self.assertTrue(self.element(f"{name}-erro").text)
                self.assertEqual(self.element(name).get_attribute("value"), value)
                self.assertEqual(self.element("estatisticas").text, "")
        # padrao is offered only toward every piece on peg 3.
        self.type_into("inicio", "")
        self.type_into("objetivo", "113")
        padrao = self.driver.find_element(By.CSS_SELECTOR, "#heuristica option[value=padrao]")
        self.assertFalse(padrao.is_enabled())
        self.assertIn("objetivo", self.element("heuristica-nota").text)
        self.type_into("objetivo", "333")
        self.assertTrue(padrao.is_enabled())

    def test_the_folder_opened_from_disk_says_how_to_open_it(self):
        self.driver.get("file://" + ARGS.pagina + "/index.html")
        self.wait_until("sem-servidor", timeout=10)
        self.assertIn("hanoi.html", self.element("aviso-disco").text)

    def test_the_page_works_as_one_file_opened_from_disk(self):
        self.open("file://" + ARGS.arquivo)
        self.search(4, 0)
        expected = statistics_block(native("4 0 .\n", "-e"))
        self.assertEqual(statistics_block(self.element("estatisticas").text), expected)
        self.assertEqual(self.console_errors(), [])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--pagina", required=True)
    parser.add_argument("--arquivo", required=True)
    parser.add_argument("--hanoi", required=True)
    parser.add_argument("--retrato")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()

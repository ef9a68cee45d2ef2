#!/usr/bin/env python3
"""The exported web page in a real headless Chromium, driven through chromedriver's WebDriver
API: hostile names must show as text, folders open one at a time, the search lists hits with
their paths. Usage: html_page_test.py ORLENTA_CLI [PAGE_TO_TIME]"""

import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request
import zlib
from xml.sax.saxutils import quoteattr

HOSTILE = ['a<b&c>', 'q"u,o', "it's", '</script><b>x</b>', '<img src=x onerror="alert(1)">',
           '<!--', 'tab\there', '\u00fc \u65e5', 'bad\ufffdname']


def catalogue_xml():
    files = ''.join('<Filename Text=%s Size="%d" Modified="2024-01-02T03:04:05Z"/>'
                    % (quoteattr(name).replace('\t', '&#9;'), i) for i, name in enumerate(HOSTILE))
    return ('<?xml version="1.0"?><OrlentaData Title=%s Memo="m"><Discs>'
            '<Disc Title="First &lt;disc&gt;" Vendor="V&amp;" DirCount="2" FileCount="11">'
            '<Root ID="1"><Directories><Directory Name=%s ID="2" Size="9"><Filenames>%s</Filenames>'
            '<Directories><Directory Name="deeper" ID="3"><Filenames><Filename Text="needle.txt"/>'
            '</Filenames></Directory></Directories></Directory></Directories>'
            '<Filenames><Filename Text="top-file"/></Filenames></Root></Disc>'
            '<Disc Title="Second"><Root ID="4"><Filenames><Filename Text="needle-2"/></Filenames>'
            '</Root></Disc></Discs></OrlentaData>') % (
                quoteattr('Shelf </script>'), quoteattr('</script>&<dir>'), files)


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Browser:
    def __init__(self):
        self.port = free_port()
        self.driver = subprocess.Popen([shutil.which('chromedriver') or '/usr/bin/chromedriver',
                                        '--port=%d' % self.port], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        self.base = 'http://127.0.0.1:%d' % self.port
        for _ in range(100):
            try:
                self.call('GET', '/status')
                break
            except OSError:
                time.sleep(0.1)
        chromium = shutil.which('chromium') or '/usr/bin/chromium'
        caps = {'capabilities': {'alwaysMatch': {'goog:chromeOptions': {
            'binary': chromium,
            'args': ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                     '--window-size=1200,900']}}}}
        self.session = self.call('POST', '/session', caps)['sessionId']

    def call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={'Content-Type': 'application/json'})
        with urllib.request.urlopen(request, timeout=300) as response:
            return json.loads(response.read())['value']

    def run(self, script, *args):
        return self.call('POST', '/session/%s/execute/sync' % self.session,
                         {'script': script, 'args': list(args)})

    def open(self, url):
        self.call('POST', '/session/%s/url' % self.session, {'url': url})

    def close(self):
        try:
            self.call('DELETE', '/session/%s' % self.session)
        finally:
            self.driver.terminate()
            self.driver.wait()


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def test_hostile_page(cli, browser, scratch):
    data = os.path.join(scratch, 'hostile.olx')
    deflate = zlib.compressobj(6, zlib.DEFLATED, -15)
    with open(data, 'wb') as f:
        f.write(deflate.compress(catalogue_xml().encode()) + deflate.flush())
    page = os.path.join(scratch, 'hostile.html')
    subprocess.run([cli, 'export', data, '--format', 'html', '-o', page], check=True)
    browser.open('file://' + page)
    check(browser.run('return document.title') == 'Shelf </script>', 'the title')
    check(browser.run('return document.querySelectorAll("img,b").length') == 0,
          'no element comes from a name')
    # The first disc is open: its top folder's own files and its folder, closed.
    toggles = browser.run('return [...document.querySelectorAll(".disc:first-child li.folder > '
                          'button")].map(b => b.textContent)')
    check(toggles == ['</script>&<dir>'], 'the first disc shows its folder: %r' % toggles)
    check('top-file' in browser.run('return document.querySelector("#discs").textContent'),
          'the top folder\'s files')
    props = browser.run('return document.querySelector(".disc dl").textContent')
    check('V&' in props, 'the disc properties: %r' % props)
    # Open the folder: its files, with size and date, every hostile name as text.
    browser.run('document.querySelector(".disc li.folder > button").click()')
    names = browser.run('return [...document.querySelectorAll(".disc li.folder table.files '
                        'td.name")].map(td => td.textContent)')
    check(names == HOSTILE, 'the folder\'s files: %r' % names)
    row = browser.run('return document.querySelector(".disc li.folder table.files tr:nth-child(3)")'
                      '.textContent')
    check('2024-01-02 03:04:05' in row and '2' in row, 'size and date: %r' % row)
    check(browser.run('return document.querySelectorAll("img,b").length') == 0,
          'no element comes from a name once opened')
    # The folder below stays unbuilt until opened.
    check(browser.run('return document.querySelectorAll("li.folder").length') == 2,
          'one level built at a time')
    # Search: hits of both discs, with their paths; the hostile ones as text.
    browser.run('const s = document.getElementById("search"); s.value = "NEEDLE";'
                's.dispatchEvent(new KeyboardEvent("keydown", {key: "Enter"}))')
    hits = browser.run('return [...document.querySelectorAll("#results li .path")]'
                       '.map(e => e.textContent)')
    check(hits == ['First <disc>: </script>&<dir>/deeper/needle.txt', 'Second: needle-2'],
          'search hits: %r' % hits)
    browser.run('const s = document.getElementById("search"); s.value = "<";'
                's.dispatchEvent(new KeyboardEvent("keydown", {key: "Enter"}))')
    hits = browser.run('return [...document.querySelectorAll("#results li .path")]'
                       '.map(e => e.textContent)')
    check('First <disc>: </script>&<dir>/<img src=x onerror="alert(1)">' in hits,
          'a hostile hit as text: %r' % hits)
    check(browser.run('return document.querySelectorAll("img,b").length') == 0,
          'no element comes from a hit')


def time_page(browser, page):
    browser.open('file://' + os.path.abspath(page))
    ready = browser.run('return document.body.getAttribute("data-ready-ms")')
    shown = browser.run('return document.querySelectorAll("li").length')
    loaded = browser.run('return Math.round(performance.getEntriesByType("navigation")[0]'
                         '.domContentLoadedEventEnd)')
    start = time.monotonic()
    browser.run('const s = document.getElementById("search"); s.value = "track 01";'
                's.dispatchEvent(new KeyboardEvent("keydown", {key: "Enter"}))')
    status = browser.run('return document.getElementById("status").textContent')
    print('first disc shown after %s ms (%d items built), whole document read after %s ms; '
          'a search over every disc: %s in %.0f ms'
          % (ready, shown, loaded, status, (time.monotonic() - start) * 1000))


def main():
    cli = sys.argv[1]
    browser = Browser()
    try:
        if len(sys.argv) > 2:
            time_page(browser, sys.argv[2])
            return
        with tempfile.TemporaryDirectory() as scratch:
            test_hostile_page(cli, browser, scratch)
        print('html page test passed')
    finally:
        browser.close()


if __name__ == '__main__':
    main()

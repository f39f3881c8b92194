// What the browser tests share: the page served from a folder on 127.0.0.1, Debian's Chromium
// headless driven through puppeteer-core (no browser of its own), and the checks every test
// makes (no uncaught error, no console error).
import { spawnSync } from 'node:child_process';
import { createReadStream, existsSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

export const SKIP = 77;
export const SOURCE = new URL('../..', import.meta.url).pathname;

// The folders a test runs with: the built page and the desktop build (vexaro-sim).
export function folders() {
  const [dist, build] = process.argv.slice(2);
  if (!dist || !existsSync(join(dist, 'index.html'))) {
    console.log(`SKIP: no page built in ${dist} (make web)`);
    process.exit(SKIP);
  }
  return { dist, build };
}

export function fail(message) {
  console.error(`FAIL: ${message}`);
  process.exit(1);
}

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.json': 'application/json', '.png': 'image/png' };

// A static server for `root`, as any web server would serve the page.
export async function serve(root) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(root, path.endsWith('/') ? path + 'index.html' : path);
    if (!file.startsWith(root) || !existsSync(file) || !statSync(file).isFile()) {
      response.writeHead(404).end('not found');
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
                              'Content-Length': statSync(file).size });
    createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// Chromium as root in a container: no sandbox; nothing fetched from the network in the
// background; sound allowed without a key first (the tests press keys through the page).
export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'vexaro-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    protocolTimeout: 30 * 60000, // a whole game's wait is one long call
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--autoplay-policy=no-user-gesture-required', '--mute-audio'],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page that notes every uncaught error and every console error or warning.
export async function open(browser, url, { width = 1280, height = 900 } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  const problems = [];
  page.on('pageerror', (error) => problems.push(`uncaught: ${error.message}`));
  page.on('console', (message) => {
    // Chromium's own note that SDL's audio uses the ScriptProcessorNode (SDL 2.26's only way to
    // play in a browser) is the browser's deprecation notice, not the game's or the page's.
    if (/ScriptProcessorNode is deprecated/.test(message.text())) return;
    if (['error', 'warning', 'warn'].includes(message.type()))
      problems.push(`console ${message.type()}: ${message.text()}`);
  });
  await page.goto(url);
  page.problems = problems;
  return page;
}

export function checkQuiet(page) {
  if (page.problems.length) fail(`the console was not quiet:\n  ${page.problems.join('\n  ')}`);
}

// Waits until the page's trace has a line matching `pattern`; its index, or a failure.
export async function waitForTrace(page, pattern, timeoutMs = 20000, from = 0) {
  const source = pattern.source;
  try {
    const handle = await page.waitForFunction(
      (source, from) => {
        const test = window.vexaroTest;
        if (!test) return false;
        const re = new RegExp(source);
        for (let i = from; i < test.lines.length; i++) if (re.test(test.lines[i])) return i + 1;
        return false;
      }, { timeout: timeoutMs, polling: 20 }, source, from);
    return (await handle.jsonValue()) - 1;
  } catch (error) {
    const lines = await page.evaluate(() => (window.vexaroTest ? window.vexaroTest.lines : []));
    if (process.env.VEXARO_WEB_TRACE_OUT)
      (await import('node:fs')).writeFileSync(process.env.VEXARO_WEB_TRACE_OUT, lines.join('\n') + '\n');
    fail(`no trace line like ${pattern} (${error.message}); the last lines:\n  ${lines.slice(-5).join('\n  ')}`);
  }
}

// The canvas's pixels at scale 1, as RGBA bytes.
export async function canvasPixels(page) {
  const { width, height, data } = await page.evaluate(() => {
    // Through a copy: reading the page's own canvas again and again makes Chromium advise.
    const canvas = document.getElementById('canvas');
    const copy = document.createElement('canvas');
    copy.width = canvas.width;
    copy.height = canvas.height;
    const context = copy.getContext('2d', { willReadFrequently: true });
    context.drawImage(canvas, 0, 0);
    const image = context.getImageData(0, 0, canvas.width, canvas.height);
    let text = '';
    for (let i = 0; i < image.data.length; i += 0x8000)
      text += String.fromCharCode.apply(null, image.data.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, data: btoa(text) };
  });
  return { width, height, data: Buffer.from(data, 'base64') };
}

// A PNG's pixels as RGBA bytes (through ImageMagick).
export function pngPixels(path) {
  const size = spawnSync('identify', ['-format', '%w %h', path], { encoding: 'utf8' });
  if (size.status !== 0) fail(`cannot read ${path}: ${size.stderr}`);
  const [width, height] = size.stdout.trim().split(' ').map(Number);
  const raw = spawnSync('convert', [path, '-depth', '8', 'rgba:-'], { maxBuffer: 64 << 20 });
  if (raw.status !== 0) fail(`cannot convert ${path}`);
  return { width, height, data: raw.stdout };
}

// How many pixels of a rectangle differ between two pictures of the same size.
export function differingPixels(a, b, area = { x: 0, y: 0, w: a.width, h: a.height }) {
  let count = 0;
  for (let y = area.y; y < area.y + area.h; y++)
    for (let x = area.x; x < area.x + area.w; x++) {
      const i = (y * a.width + x) * 4;
      if (a.data[i] !== b.data[i] || a.data[i + 1] !== b.data[i + 1] || a.data[i + 2] !== b.data[i + 2])
        count++;
    }
  return count;
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// A key as the player presses it (through the browser's input, not the page's script).
export async function press(page, key, holdMs = 40) {
  await page.keyboard.down(key);
  await sleep(holdMs);
  await page.keyboard.up(key);
}

export function workFolder() {
  return mkdtempSync(join(tmpdir(), 'vexaro-web-test-'));
}

// A page whose files are missing or cut says so on the page, and starts no game: the manifest
// gives every file's size, and the page checks them all before the game starts.
import { cpSync, rmSync, truncateSync, statSync } from 'node:fs';
import { join } from 'node:path';
import * as t from './lib.mjs';

const { dist } = t.folders();
const cases = [
  { name: 'a missing sound', file: 'data/wav/beep.wav', damage: rmSync, says: /beep\.wav is missing/ },
  { name: 'a cut round file', file: 'data/rnd_dat/R3.dat.rnd',
    damage: (path) => truncateSync(path, Math.floor(statSync(path).size / 2)), says: /R3\.dat\.rnd is cut short/ },
  { name: 'a cut program', file: 'vexaro.wasm',
    damage: (path) => truncateSync(path, 1000), says: /vexaro\.wasm is cut short/ },
  { name: 'no manifest', file: 'manifest.json', damage: rmSync, says: /manifest\.json.*cannot be read/ },
];

const browser = await t.launch();
try {
  for (const c of cases) {
    const copy = t.workFolder();
    cpSync(dist, copy, { recursive: true });
    c.damage(join(copy, c.file));
    const server = await t.serve(copy);
    const page = await t.open(browser, `${server.url}?test`);
    await page.waitForFunction(() => window.vexaroTest.failure, { timeout: 15000 })
      .catch(() => t.fail(`${c.name}: the page said nothing`));
    const shown = await page.$eval('#message', (m) => (m.hidden ? '' : m.innerText));
    if (!c.says.test(shown)) t.fail(`${c.name}: the page says "${shown}"`);
    // The only console lines allowed are the browser's own for the missing file.
    page.problems = page.problems.filter((p) => !/404|Failed to load resource/.test(p));
    t.checkQuiet(page);
    await page.close();
    server.close();
    rmSync(copy, { recursive: true, force: true });
    console.log(`${c.name}: "${shown}"`);
  }
} finally {
  await browser.close();
}

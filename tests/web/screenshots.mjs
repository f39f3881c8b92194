// The page's pictures for docs/screenshots/: the title, a flight, the Game menu dropped down.
//   node tests/web/screenshots.mjs DIST OUTDIR
import { join } from 'node:path';
import * as t from './lib.mjs';

const [dist, out] = process.argv.slice(2);
const server = await t.serve(dist);
const browser = await t.launch();
try {
  const page = await t.open(browser, `${server.url}?test&trace`, { width: 1320, height: 900 });
  await t.waitForTrace(page, /"form":"fMain","do":"show"/);
  await t.sleep(500);
  await page.screenshot({ path: join(out, 'web-title.png') });
  await t.press(page, 'Space');
  await t.waitForTrace(page, /"ev":"countdown","digit":1/, 10000);
  await page.keyboard.down('Space');
  await t.waitForTrace(page, /"ev":"frame"/, 5000);
  await t.sleep(700);
  await page.keyboard.up('Space');
  await page.keyboard.down('ArrowLeft');
  await t.sleep(300);
  await page.screenshot({ path: join(out, 'web-flight.png') });
  await page.keyboard.up('ArrowLeft');
  await t.press(page, 'Alt');
  await t.press(page, 'g');
  await t.sleep(300);
  await page.screenshot({ path: join(out, 'web-menu.png') });
} finally {
  await browser.close();
  server.close();
}

// The game in the page through the browser's own keys and clicks: Space starts a game (the
// banner, the countdown), Space held lifts the ship; Alt and F10 open the menu bar, which the
// game draws itself; its commands work: the about window (a click closes it), help (Escape
// closes it), and Quit, which asks, ends the game and leaves the page offering to start again.
import * as t from './lib.mjs';

const { dist } = t.folders();
const server = await t.serve(dist);
const browser = await t.launch();

// A point of the canvas (in its own pixels) clicked as the player clicks it, at any scale.
async function clickCanvas(page, x, y) {
  const box = await page.$eval('#canvas', (c) => {
    const r = c.getBoundingClientRect();
    return { left: r.left, top: r.top, scale: r.width / c.width };
  });
  await page.mouse.click(box.left + (x + 0.5) * box.scale, box.top + (y + 0.5) * box.scale);
}

const MENU_BAR = { x: 0, y: 0, w: 621, h: 20 };

try {
  const page = await t.open(browser, `${server.url}?test&trace`);
  await t.waitForTrace(page, /"form":"fMain","do":"show"/);
  await t.sleep(300);

  // The page shows the game enlarged by a whole factor (1280x900 fits twice), centred.
  const layout = await page.$eval('#canvas', (c) => {
    const r = c.getBoundingClientRect();
    return { scale: r.width / c.width, left: r.left, right: innerWidth - r.right };
  });
  if (layout.scale !== 2 || Math.abs(layout.left - layout.right) > 1)
    t.fail(`the canvas is not enlarged twice and centred: ${JSON.stringify(layout)}`);

  // Alt alone, then F10: the menu bar lights up; Escape leaves it.
  for (const key of ['Alt', 'F10']) {
    const before = await t.canvasPixels(page);
    await t.press(page, key);
    await t.sleep(300);
    const lit = await t.canvasPixels(page);
    if (!t.differingPixels(before, lit, MENU_BAR)) t.fail(`${key} did not reach the menu bar`);
    await t.press(page, 'Escape');
    await t.sleep(300);
    if (t.differingPixels(before, await t.canvasPixels(page), MENU_BAR))
      t.fail(`Escape did not leave the menu bar after ${key}`);
  }
  // The page never scrolled for the game's keys.
  if (await page.evaluate(() => scrollX || scrollY)) t.fail('the page scrolled');

  // Space starts a game: the banner, the countdown; Space held lifts the ship.
  await t.press(page, 'Space');
  await t.waitForTrace(page, /"ev":"mode","from":0,"to":1/, 5000);
  await t.waitForTrace(page, /"ev":"countdown","digit":3/, 5000);
  await t.waitForTrace(page, /"ev":"countdown","digit":1/, 8000);
  await page.keyboard.down('Space');
  const firstFrame = await t.waitForTrace(page, /"ev":"frame"/, 5000);
  await t.waitForTrace(page, /"ev":"frame".*"vy":-/, 5000, firstFrame);
  await page.keyboard.up('Space');

  // Help, About: Alt with the access keys, as on the desktop (H, then C or A).
  await t.press(page, 'Alt');
  await t.press(page, 'h');
  await t.press(page, 'a');
  await t.waitForTrace(page, /"form":"fAbout","do":"show-modal"/, 5000);
  await t.sleep(300);
  const about = await t.canvasPixels(page);
  // A click on the about window (not on a link) closes it.
  await clickCanvas(page, (621 - 408) / 2 + 12, (417 - 249) / 2 + 12);
  await t.waitForTrace(page, /"form":"fAbout","do":"unload"/, 5000);
  await t.sleep(300);
  if (!t.differingPixels(about, await t.canvasPixels(page))) t.fail('the about window stayed on the canvas');

  await t.press(page, 'Alt');
  await t.press(page, 'h');
  await t.press(page, 'c');
  await t.waitForTrace(page, /"form":"fHelp","do":"show"/, 5000);
  await t.sleep(300);
  await t.press(page, 'Escape');
  await t.waitForTrace(page, /"form":"fHelp","do":"unload"/, 5000);

  // Quit asks; Enter answers Yes; the game ends and the page offers to start again.
  await t.press(page, 'Alt');
  await t.press(page, 'g');
  await t.press(page, 'x');
  await t.sleep(500);
  await t.press(page, 'Enter');
  await t.waitForTrace(page, /"ev":"msgbox".*"answer":"yes"/, 5000);
  await page.waitForFunction(() => window.vexaroTest.exitStatus !== null, { timeout: 5000 })
    .catch(() => t.fail('the game did not end after Quit'));
  const status = await page.evaluate(() => window.vexaroTest.exitStatus);
  if (status !== 0) t.fail(`the game ended with status ${status}`);
  const offer = await page.$eval('#message', (m) => (m.hidden ? '' : m.textContent));
  if (!/Play again/.test(offer)) t.fail(`the page does not offer to start again: "${offer}"`);

  t.checkQuiet(page);
  console.log('start, flight, menu bar (Alt, F10), about, help and quit work in the page');
} finally {
  await browser.close();
  server.close();
}

// bench/web/web_bench.sh's measurements in Chromium headless: the time to the title picture
// (three page loads, the median) and Chromium's processor time while the ship flies.
import { readFileSync, readdirSync } from 'node:fs';
import * as t from '../../tests/web/lib.mjs';

const [dist, seconds] = [process.argv[2], Number(process.argv[3] || 10)];
const CLOCK_TICKS = 100;

// Processor ticks of a process and all its descendants (Chromium's renderer, GPU, audio...).
function treeTicks(root) {
  const parents = new Map();
  for (const pid of readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(pid), { ppid: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]) });
    } catch { /* gone meanwhile */ }
  }
  const inTree = (pid) => { for (let p = pid; p > 1; p = parents.get(p)?.ppid ?? 0) if (p === root) return true; return false; };
  let ticks = 0;
  for (const [pid, info] of parents) if (inTree(pid)) ticks += info.ticks;
  return ticks;
}

const server = await t.serve(dist);
const browser = await t.launch();
try {
  const times = [];
  for (let i = 0; i < 3; i++) {
    const page = await t.open(browser, `${server.url}?test&trace`);
    await t.waitForTrace(page, /"form":"fMain","do":"show"/);
    times.push(await page.evaluate(() => performance.now()));
    await page.close();
  }
  times.sort((a, b) => a - b);
  console.log(`web: the title picture ${(times[1] / 1000).toFixed(2)} s after opening the page ` +
              `(median of 3: ${times.map((ms) => (ms / 1000).toFixed(2)).join(', ')} s; the splash alone is 1 s)`);

  const page = await t.open(browser, `${server.url}?test&trace`);
  await t.waitForTrace(page, /"form":"fMain","do":"show"/);
  await t.press(page, 'Space');
  await t.waitForTrace(page, /"ev":"countdown","digit":1/, 10000);
  await page.keyboard.down('Space');
  await t.waitForTrace(page, /"ev":"frame"/, 5000);
  await t.sleep(3000); // up to the top of the round
  const pid = browser.process().pid;
  const before = treeTicks(pid), frames0 = await page.evaluate(() => window.vexaroTest.lines.length);
  await t.sleep(seconds * 1000);
  const used = treeTicks(pid) - before;
  const lines = await page.evaluate(() => window.vexaroTest.lines);
  const frames = lines.slice(frames0).filter((l) => l.includes('"ev":"frame"')).length;
  await page.keyboard.up('Space');
  console.log(`web: in flight Chromium (all its processes) takes ${(100 * used / CLOCK_TICKS / seconds).toFixed(1)} % ` +
              `of one core over ${seconds} s, ${(frames / seconds).toFixed(1)} frames a second ` +
              `(the desktop: bench/flight/flight_cpu.sh)`);
} finally {
  await browser.close();
  server.close();
}

// A whole game played in the page to the ending, through the page's keys, and kept as a
// recording: vexaro-sim replays that recording to the same trace (every frame, mode, message,
// sound and explosion) as the page traced while it played. The keys are the whole-game replay's
// (tests/replays/full-game.txt), played at the game's own moments: each key follows the trace
// line it followed in the headless run, after the same delay, or at once when a frame is next
// (the frame after that line feels it, however the browser paces its frames). The page's test
// hook (only with ?test in the address) presses them from inside the page.
import { spawnSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import * as t from './lib.mjs';

const { dist, build } = t.folders();
const work = t.workFolder();
const script = join(t.SOURCE, 'tests/replays/full-game.txt');
const COMPARED = /"ev":"(frame|mode|message|sound|explode)"/;
// The lines a key may follow: the compared ones and the others both runs write alike (the
// page's test hook counts the same lines).
const ANCHORS = /"ev":"(frame|mode|message|sound|explode|window|countdown|load)"/;
const CODES = { space: 'Space', left: 'ArrowLeft', right: 'ArrowRight', enter: 'Enter',
                escape: 'Escape' };

// The headless run of the script: where each key falls among the compared trace lines.
function schedule() {
  const headless = join(work, 'headless.trace');
  const sim = spawnSync(join(build, 'vexaro-sim'),
                        ['--script', script, '--until', 'idle', '--trace', headless],
                        { encoding: 'utf8' });
  if (sim.status !== 0) t.fail(`vexaro-sim could not play ${script}: ${sim.stderr}`);
  const lines = readFileSync(headless, 'utf8').split('\n').filter((l) => ANCHORS.test(l));
  const ticks = lines.map((l) => Number(/"t":(\d+)/.exec(l)[1]));
  const actions = [];
  let after = 0;
  for (const line of readFileSync(script, 'utf8').split('\n')) {
    const words = line.trim().split(/\s+/);
    if (!line.trim() || line.startsWith('#')) continue;
    const [tick, type, key] = [Number(words[0]), words[1], words[2]];
    if (!['down', 'up', 'tap'].includes(type) || !CODES[key]) t.fail(`cannot play "${line}"`);
    // The lines before the key's moment came first; of the lines at that very tick, those up
    // to its frame (written between two message steps), while the rest came from the key's
    // own handling (a game it started, say).
    while (after < ticks.length && ticks[after] < tick) after++;
    for (let i = after; i < ticks.length && ticks[i] === tick; i++)
      if (/"ev":"frame"/.test(lines[i])) after = i + 1;
    const anchor = after ? ticks[after - 1] : 0;
    const atOnce = after < lines.length && /"ev":"frame"/.test(lines[after]) && after > 0;
    actions.push({ after, delay: tick - anchor, atOnce, type, code: CODES[key] });
  }
  return { actions };
}

const { actions } = schedule();
const server = await t.serve(dist);
const browser = await t.launch();
try {
  const page = await t.open(browser, `${server.url}?test&trace`);
  await t.waitForTrace(page, /"ev":"window"/);
  await page.evaluate((actions) => window.vexaroTest.play(actions), actions);
  // The ending, then the game back at its title.
  const minutes = Number(process.env.VEXARO_WEB_MINUTES || 14);
  const ending = await t.waitForTrace(page, /"ev":"ending"/, minutes * 60000);
  await t.waitForTrace(page, /"ev":"mode","from":1,"to":0/, 60000, ending);
  // Quit (Alt, G, X, Enter for Yes): the session ends, and the recording with it.
  await t.sleep(500);
  for (const key of ['Alt', 'g', 'x']) await t.press(page, key);
  await t.sleep(500);
  await t.press(page, 'Enter');
  await page.waitForFunction(() => window.vexaroTest.exitStatus !== null, { timeout: 10000 })
    .catch(() => t.fail('the game did not end after Quit'));
  const { recording, trace } = await page.evaluate(() => {
    const bytes = FS.readFile('/vexaro.rec');
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return { recording: btoa(text), trace: window.vexaroTest.lines.join('\n') + '\n' };
  });
  const recPath = join(work, 'page.rec');
  writeFileSync(recPath, Buffer.from(recording, 'base64'));
  writeFileSync(join(work, 'page.trace'), trace);

  const replayed = join(work, 'replayed.trace');
  const sim = spawnSync(join(build, 'vexaro-sim'), ['--replay', recPath, '--trace', replayed],
                        { encoding: 'utf8' });
  if (sim.status !== 0) t.fail(`vexaro-sim could not replay the page's recording: ${sim.stderr}`);
  const events = (text) => text.split('\n').filter((l) => COMPARED.test(l));
  const mine = events(trace);
  const theirs = events(readFileSync(replayed, 'utf8'));
  const firstDifference = mine.findIndex((line, i) => line !== theirs[i]);
  if (firstDifference >= 0 || mine.length !== theirs.length)
    t.fail(`the replay differs from the page's game at event ${firstDifference} of ${mine.length}` +
           ` (files in ${work}):\n  page:   ${mine[firstDifference]}\n  replay: ${theirs[firstDifference]}`);
  const rounds = new Set(mine.filter((l) => /"ev":"frame"/.test(l))
                             .map((l) => /"round":(\d+)/.exec(l)[1]));
  if (rounds.size !== 9) t.fail(`the page's game flew ${rounds.size} rounds, not 9 (files in ${work})`);
  t.checkQuiet(page);
  console.log(`a whole game in the page (${mine.length} events, 9 rounds) replays to the same trace`);
} finally {
  await browser.close();
  server.close();
}

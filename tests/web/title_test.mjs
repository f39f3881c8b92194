// The title screen in the page is the headless game's title screen, pixel for pixel: the canvas
// read back at scale 1 against vexaro-sim's picture of the same moment (both are still
// pictures once the main window has opened).
import { join } from 'node:path';
import { spawnSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import * as t from './lib.mjs';

const { dist, build } = t.folders();
const work = t.workFolder();
const shot = join(work, 'title.png');
const sim = spawnSync(join(build, 'vexaro-sim'), ['--ticks', '3000', '--shot', `2500:${shot}`],
                      { encoding: 'utf8' });
if (sim.status !== 0) t.fail(`vexaro-sim could not take the title picture: ${sim.stderr}`);
const expected = t.pngPixels(shot);

const server = await t.serve(dist);
const browser = await t.launch();
try {
  const page = await t.open(browser, `${server.url}?test&trace`);
  await t.waitForTrace(page, /"form":"fMain","do":"show"/);
  await t.sleep(1500);
  const canvas = await t.canvasPixels(page);
  if (canvas.width !== expected.width || canvas.height !== expected.height)
    t.fail(`the canvas is ${canvas.width}x${canvas.height}, the title ${expected.width}x${expected.height}`);
  const differing = t.differingPixels(canvas, expected);
  if (differing) {
    writeFileSync(join(work, 'canvas.rgba'), canvas.data);
    t.fail(`${differing} pixels differ from the headless title (pictures in ${work}: ` +
           `convert -size ${canvas.width}x${canvas.height} -depth 8 rgba:canvas.rgba canvas.png)`);
  }
  t.checkQuiet(page);
  console.log(`the title is the headless title, ${canvas.width}x${canvas.height} pixels`);
} finally {
  await browser.close();
  server.close();
}

// Figures of the browser build (not a test): the site's download gzip-compressed,
// the time from loading the page (cover clicked at once) to the game loaded and
// to the title menu, and the frame time at the title, in headless chromium with
// SwiftShader (software WebGL).
//   (cd tests/web && npm ci) && node bench/web/measure_web.js build-web/site [RUNS]
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { serve } = require('../../tests/web/serve');
const { launch, openPage, sleep } = require('../../tests/web/browser');

const site = path.resolve(process.argv[2] || 'build-web/site');
const runs = Number(process.argv[3] || 5);

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};
const quantile = (values, q) => [...values].sort((a, b) => a - b)[Math.floor(q * (values.length - 1))];

function download() {
  let total = 0;
  for (const name of fs.readdirSync(site)) {
    const bytes = fs.readFileSync(path.join(site, name));
    const packed = zlib.gzipSync(bytes, { level: 9 }).length;
    total += packed;
    console.log(`  ${name}: ${(bytes.length / 1e6).toFixed(3)} MB, gzip ${(packed / 1e6).toFixed(3)} MB`);
  }
  console.log(`download, gzip-compressed: ${(total / 1e6).toFixed(2)} MB`);
}

// Runs in the page before its scripts: the time each animation-frame callback
// takes (the game's whole frame: events, update, drawing) and when it starts.
function timeFrames() {
  window.quaveroFrames = [];
  window.quaveroBlocks = 0;
  const createBuffer = BaseAudioContext.prototype.createBuffer;
  BaseAudioContext.prototype.createBuffer = function (...args) {
    quaveroBlocks++;
    return createBuffer.apply(this, args);
  };
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    const start = performance.now();
    callback(time);
    quaveroFrames.push([start, performance.now() - start]);
  });
}

async function oneRun(browser, base, measureFrames) {
  const page = await openPage(browser, { width: 1000, height: 640 });
  await page.evaluateOnNewDocument(timeFrames);
  const start = Date.now();
  const at = {};
  page.on('console', (message) => {
    const text = message.text();
    for (const [key, line] of [['loop', 'Entering main loop...'], ['loaded', 'Texture set three uploaded...'],
      ['scroller', 'Entering screen state 15000...'], ['title', 'Entering screen state 20001...']]) {
      if (text.includes(line) && !(key in at)) at[key] = (Date.now() - start) / 1000;
    }
  });
  await page.goto(base + '?log');
  await page.waitForSelector('#cover', { visible: true });
  await page.click('#cover');
  await page.waitLine('Entering screen state 15000...', 1, 30000);
  await page.keyboard.press('Escape'); // the earliest the introduction may be skipped
  await page.waitLine('Entering screen state 20001...', 1, 15000);
  let frames = null;
  let mix = null;
  let frames800 = null;
  if (measureFrames) {
    await sleep(1000);
    // The audio callback's time: the mix of each block and its copy into Web Audio.
    const from = await page.evaluate(() => {
      const queue = SDL.audio.queueNewAudioData;
      window.quaveroMix = { ms: 0, blocks: quaveroBlocks };
      SDL.audio.queueNewAudioData = () => {
        const start = performance.now();
        queue();
        quaveroMix.ms += performance.now() - start;
      };
      return quaveroFrames.length;
    });
    await sleep(5000);
    frames = (await page.evaluate(() => quaveroFrames)).slice(from);
    mix = await page.evaluate(() => ({ ms: quaveroMix.ms, blocks: quaveroBlocks - quaveroMix.blocks }));
    // Again with the canvas at the game's own 800 x 480, where sprites are drawn texel for pixel.
    for (let i = 0; i < 2; i++) {
      const footer = await page.evaluate(() => document.querySelector('footer').getBoundingClientRect().height);
      await page.setViewport({ width: 800, height: 480 + Math.ceil(footer) });
    }
    await sleep(1500);
    const from800 = await page.evaluate(() => quaveroFrames.length);
    await sleep(5000);
    frames800 = (await page.evaluate(() => quaveroFrames)).slice(from800);
  }
  await page.close();
  return { at, frames, frames800, mix };
}

(async () => {
  download();
  const { server, base } = await serve(site);
  const browser = await launch();
  const results = [];
  try {
    for (let i = 0; i < runs; i++) {
      const result = await oneRun(browser, base, i === runs - 1);
      console.log(`  run ${i + 1}: main loop ${result.at.loop} s, loaded ${result.at.loaded} s,` +
                  ` scroller ${result.at.scroller} s, title menu ${result.at.title} s`);
      results.push(result);
    }
  } finally {
    await browser.close();
    server.close();
  }
  const of = (key) => median(results.map((r) => r.at[key]));
  console.log(`page load to main loop / game loaded / title menu (intro skipped as soon as allowed),` +
              ` median of ${runs}: ${of('loop')} s / ${of('loaded')} s / ${of('title')} s`);
  const last = results[results.length - 1];
  for (const [size, frames] of [['1000 x 640 page', last.frames], ['canvas 800 x 480', last.frames800]]) {
    const costs = frames.map((f) => f[1]);
    const gaps = frames.slice(1).map((f, i) => f[0] - frames[i][0]);
    console.log(`frame at the title, ${size}, over 5 s (${frames.length} frames): the game's frame median` +
                ` ${median(costs).toFixed(2)} ms (95th percentile ${quantile(costs, 0.95).toFixed(2)} ms),` +
                ` frame interval median ${median(gaps).toFixed(2)} ms`);
  }
  const mix = results[results.length - 1].mix;
  console.log(`audio at the title: ${mix.blocks} blocks in 5 s, ${(mix.ms * 1000 / mix.blocks).toFixed(0)} µs` +
              ` per 1024-frame block (mix and hand-over to Web Audio)`);
})();

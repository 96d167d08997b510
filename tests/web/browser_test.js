// The browser build in headless chromium, served from 127.0.0.1 like any static
// host: the cover starts the game, the title looks like the desktop's, PLAY and
// track 0 are chosen with the keys, the first phrase is answered right (the
// score from the game's log in the console), and sound reaches Web Audio. A
// second run uses touch alone up to a game; a third has WebGL switched off.
//   node browser_test.js SITE_DIR REFERENCE_TITLE_PNG [SHOTS_DIR]
'use strict';
const fs = require('fs');
const path = require('path');
const { serve } = require('./serve');
const { launch, openPage, sleep, pagePoint } = require('./browser');

const site = path.resolve(process.argv[2]);
const referenceTitle = path.resolve(process.argv[3]);
const shots = process.argv[4] ? path.resolve(process.argv[4]) : null;

let checks = 0;
let failures = 0;
function check(ok, what) {
  checks++;
  if (!ok) failures++;
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}`);
  return ok;
}

// Runs in the page before its scripts: every connection to the speakers passes
// an AnalyserNode, sampled for the loudest sample; created buffers count the blocks.
function tapAudio() {
  // Which animation frame each log line came in.
  window.quaveroFrame = 0;
  window.quaveroLineFrames = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    quaveroFrame++;
    callback(time);
  });
  const log = console.log.bind(console);
  console.log = (text, ...rest) => {
    quaveroLineFrames.push([String(text), quaveroFrame]);
    log(text, ...rest);
  };
  window.quaveroAudio = { peak: 0, blocks: 0 };
  const analysers = new Map();
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (!(target instanceof AudioDestinationNode)) return connect.call(this, target, ...rest);
    let analyser = analysers.get(target);
    if (!analyser) {
      analyser = target.context.createAnalyser();
      analyser.fftSize = 2048;
      connect.call(analyser, target);
      analysers.set(target, analyser);
      const samples = new Float32Array(analyser.fftSize);
      setInterval(() => {
        analyser.getFloatTimeDomainData(samples);
        for (const value of samples) quaveroAudio.peak = Math.max(quaveroAudio.peak, Math.abs(value));
      }, 20);
    }
    return connect.call(this, analyser, ...rest);
  };
  const createBuffer = BaseAudioContext.prototype.createBuffer;
  BaseAudioContext.prototype.createBuffer = function (...args) {
    quaveroAudio.blocks++;
    return createBuffer.apply(this, args);
  };
}

// Mean absolute difference (0..255) between the canvas's picture and a PNG of the same size.
async function differenceFrom(page, pngPath) {
  const shot = await (await page.$('#game')).screenshot({ encoding: 'base64' });
  const reference = fs.readFileSync(pngPath).toString('base64');
  return page.evaluate(async (a, b) => {
    const pixels = async (data) => {
      const image = new Image();
      image.src = 'data:image/png;base64,' + data;
      await image.decode();
      const canvas = new OffscreenCanvas(800, 480);
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0, 800, 480);
      return context.getImageData(0, 0, 800, 480).data;
    };
    const [p, q] = [await pixels(a), await pixels(b)];
    let sum = 0;
    for (let i = 0; i < p.length; i += 4)
      sum += Math.abs(p[i] - q[i]) + Math.abs(p[i + 1] - q[i + 1]) + Math.abs(p[i + 2] - q[i + 2]);
    return sum / (p.length / 4 * 3);
  }, shot, reference);
}

async function keep(page, name) {
  if (shots) await page.screenshot({ path: path.join(shots, name + '.png') });
}

// A viewport whose canvas is exactly 800 x 480, the footer text below it.
async function fitCanvasTo800x480(page) {
  // Twice: the footer's text wraps anew at the new width.
  for (let i = 0; i < 2; i++) {
    const footer = await page.evaluate(() => document.querySelector('footer').getBoundingClientRect().height);
    await page.setViewport({ width: 800, height: 480 + Math.ceil(footer) });
  }
  const size = await page.waitForFunction(() => {
    const c = document.getElementById('game');
    return c.width === 800 && Math.abs(c.height - 480) <= 1; // the footer may take a fraction of a pixel
  }, { timeout: 5000 }).then(() => true, () => false);
  return size;
}

// The tabs the computer played in the phrase before the latest "Your turn...".
function lastPhrase(lines) {
  let phrase = [];
  let current = [];
  for (const line of lines) {
    const played = line.match(/Computer plays tab (\d)/);
    if (played) current.push(Number(played[1]));
    if (line.includes('Your turn...')) {
      phrase = current;
      current = [];
    }
  }
  return phrase;
}

async function keysAndMouseRun(browser, base) {
  console.log('== keys and mouse');
  const page = await openPage(browser, { width: 1000, height: 640 });
  await page.evaluateOnNewDocument(tapAudio);
  await page.goto(base + '?log');
  await page.waitForSelector('#cover', { visible: true });
  await page.click('#cover');
  check(await page.waitLine('Texture set three uploaded...', 1, 30000), 'the game loads after the cover is clicked');
  check(page.errors.length === 0, `no page errors (${page.errors.join('; ')})`);
  const loadingFrames = await page.evaluate(() => {
    const frameOf = (text) => (quaveroLineFrames.find(([line]) => line.includes(text)) || [0, -1])[1];
    return frameOf('Texture set data three loaded...') - frameOf('Entering main loop...');
  });
  check(loadingFrames >= 3, `the loading runs in slices across frames (${loadingFrames} frames)`);
  check(await fitCanvasTo800x480(page), 'the canvas follows the window to 800 x 480');
  check(page.count('Setting screen width and height...') >= 2, 'the game took the new window size');
  check(await page.waitLine('Entering screen state 15000...', 1, 20000), 'the introduction scroller comes');
  await sleep(1200);
  await page.keyboard.press('Escape');
  check(await page.waitLine('Entering screen state 20001...', 1, 10000), 'Escape skips to the title menu');
  await page.keyboard.press('Enter'); // the highlight on PLAY
  await sleep(600);
  const difference = await differenceFrom(page, referenceTitle);
  check(difference < 12, `the title looks like the desktop's (mean difference ${difference.toFixed(2)} of 255)`);
  await keep(page, 'title');
  await page.keyboard.press('Enter');
  check(await page.waitLine('Entering screen state 50001...', 1, 10000), 'Enter chooses PLAY');
  await page.keyboard.press('ArrowRight');
  await sleep(200);
  await page.keyboard.press('Enter');
  check(await page.waitLine('Entering screen state 60001...', 1, 10000), 'track 0 is chosen with the keys');
  if (check(await page.waitLine('Your turn...', 1, 60000), 'the computer plays the first phrase')) {
    await keep(page, 'game');
    for (const tab of lastPhrase(page.lines)) {
      const chosen = page.count('Player chooses tab');
      // The update that takes an answer reads no key, so one may be missed: press again.
      for (let attempt = 0; attempt < 3 && page.count('Player chooses tab') === chosen; attempt++) {
        await page.keyboard.press(String(tab + 1));
        await page.waitLine('Player chooses tab', chosen + 1, 1500);
      }
    }
    check(await page.waitLine('Phrase repeated, score 10...', 1, 5000), 'the first phrase is answered right, score 10');
    check(page.count('Wrong tab') === 0, 'no life lost');
  }
  const audio = await page.evaluate(() => window.quaveroAudio);
  check(audio.blocks > 100, `audio blocks were mixed (${audio.blocks})`);
  check(audio.peak > 0.02, `sound reached the speakers (peak ${audio.peak.toFixed(3)})`);
  await page.evaluate(() => window.dispatchEvent(new Event('pagehide')));
  check(await page.waitLine('Main loop leaved...', 1, 3000), 'leaving the page ends the game');
  await page.close();
}

async function touchRun(browser, base) {
  console.log('== touch');
  const page = await openPage(browser, { width: 900, height: 600, hasTouch: true, isMobile: true });
  await page.goto(base + '?log');
  await page.waitForSelector('#cover', { visible: true });
  const cover = await page.$('#cover');
  await cover.tap();
  check(await page.waitLine('Entering screen state 15000...', 1, 30000), 'a tap on the cover starts the game');
  await sleep(1200);
  const tap = async (x, y) => {
    const point = await pagePoint(page, x, y);
    await page.touchscreen.tap(point.x, point.y);
  };
  await tap(400, 240);
  check(await page.waitLine('Entering screen state 20001...', 1, 10000), 'a tap skips to the title menu');
  await tap(630, 240);
  check(await page.waitLine('Entering screen state 50001...', 1, 10000), 'a tap on PLAY');
  await tap(100, 200);
  check(await page.waitLine('Entering screen state 60001...', 1, 10000), 'a tap on the first track starts a game');
  await page.close();
}

async function exitRun(browser, base) {
  console.log('== the way out');
  const page = await openPage(browser, { width: 1000, height: 640 });
  await page.goto(base + '?log');
  await page.waitForSelector('#cover', { visible: true });
  await page.click('#cover');
  await page.waitLine('Entering screen state 15000...', 1, 30000);
  await sleep(1200);
  await page.keyboard.press('Escape');
  await page.waitLine('Entering screen state 20001...', 1, 10000);
  await page.keyboard.press('Escape');
  check(await page.waitLine('Entering screen state 70001...', 1, 10000), 'Escape on the title menu leads to the advert');
  const opened = new Promise((resolve) => browser.once('targetcreated', resolve));
  const box = await pagePoint(page, 720, 80);
  await page.mouse.click(box.x, box.y);
  const tab = await Promise.race([opened, sleep(8000).then(() => null)]);
  check(tab !== null && tab.url().startsWith('https://'), `the advert's web page opens in a new tab (${tab ? tab.url() : 'none'})`);
  // The game's tab draws no frames while the new one is in front.
  if (tab !== null) {
    const opener = await tab.page();
    if (opener) await opener.close();
  }
  await page.bringToFront();
  const ended = await page.waitForFunction(() => document.getElementById('message').checkVisibility(),
    { timeout: 5000 }).then(() => true, () => false);
  check(ended && page.count('Main loop leaved...') === 1, 'the game ends and the page says so');
  await keep(page, 'ended');
  await page.close();
}

async function withoutWebGLRun(base) {
  console.log('== without WebGL');
  const browser = await launch(['--disable-webgl']);
  try {
    const page = await openPage(browser, { width: 800, height: 600 });
    await page.goto(base + '?log');
    const shown = await page.waitForSelector('#message', { visible: true, timeout: 10000 }).then(() => true, () => false);
    const text = await page.$eval('#message', (m) => m.textContent);
    check(shown && text.includes('WebGL'), `a clear message instead of a blank canvas ("${text.slice(0, 40)}...")`);
    check(!(await page.$eval('#cover', (c) => c.checkVisibility())), 'no start cover');
    await keep(page, 'no_webgl');
  } finally {
    await browser.close();
  }
}

(async () => {
  if (shots) fs.mkdirSync(shots, { recursive: true });
  const { server, base } = await serve(site);
  const browser = await launch();
  try {
    await keysAndMouseRun(browser, base);
    await touchRun(browser, base);
    await exitRun(browser, base);
  } catch (error) {
    check(false, 'the run ended early: ' + error.message);
  } finally {
    await browser.close();
  }
  try {
    await withoutWebGLRun(base);
  } catch (error) {
    check(false, 'the run without WebGL ended early: ' + error.message);
  }
  server.close();
  console.log(`browser test: ${checks - failures} of ${checks} checks passed`);
  process.exit(failures === 0 ? 0 : 1);
})();

// Shared by the browser test and the web figures: Debian's chromium started
// headless through puppeteer-core, and a page whose console lines are kept.
'use strict';
const puppeteer = require('puppeteer-core');

const chromium = process.env.CHROMIUM || '/usr/bin/chromium';

// WebGL through SwiftShader, chromium's software renderer, as on a machine without a GPU.
function launch(extraArgs = []) {
  return puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', ...extraArgs],
  });
}

// A page with its console lines in page.lines and helpers that wait on them.
async function openPage(browser, viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.lines = [];
  page.errors = [];
  page.on('console', (message) => page.lines.push(message.text()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  page.count = (text) => page.lines.filter((line) => line.includes(text)).length;
  // Resolves true once a line holding text has come n times, false after timeoutMs.
  page.waitLine = async (text, n = 1, timeoutMs = 30000) => {
    const end = Date.now() + timeoutMs;
    while (Date.now() < end) {
      if (page.count(text) >= n) return true;
      await sleep(20);
    }
    return false;
  };
  return page;
}

function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Page coordinates of a point of the game's 800 x 480 virtual screen, letterboxed in the canvas.
async function pagePoint(page, x, y) {
  const box = await page.evaluate(() => {
    const r = document.getElementById('game').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
  const scale = Math.min(box.width / 800, box.height / 480);
  return {
    x: box.left + (box.width - 800 * scale) / 2 + x * scale,
    y: box.top + (box.height - 480 * scale) / 2 + y * scale,
  };
}

module.exports = { launch, openPage, sleep, pagePoint };

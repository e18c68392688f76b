// Benchmark of the web edition: what the site costs to fetch, how soon its
// main window is ready beside a plain HTML page with the same texts, and the
// memory it holds.
//
//   node bench/web/bench.mjs <siteDir>
//
// One run of headless Chromium on localhost; times are medians of 5 loads.
import { gzipSync, constants } from 'node:zlib';
import { readFile, readdir } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { startServer } from '../../tests/web/server.mjs';
import { launchBrowser } from '../../tests/web/browser.mjs';

const RUNS = 5;
const SITE_AIM_BYTES = 150_000;
const READY_AIM_RATIO = 1.5;

const siteDir = process.argv[2];
if (!siteDir) {
  console.error('usage: node bench/web/bench.mjs <siteDir>');
  process.exit(2);
}
const here = path.dirname(fileURLToPath(import.meta.url));

async function filesUnder(dir, prefix = '') {
  const found = [];
  for (const entry of await readdir(dir, { withFileTypes: true })) {
    const relative = prefix ? `${prefix}/${entry.name}` : entry.name;
    if (entry.isDirectory()) {
      found.push(...(await filesUnder(path.join(dir, entry.name), relative)));
    } else if (entry.isFile()) {
      found.push(relative);
    }
  }
  return found.sort();
}

const kb = (bytes) => `${(bytes / 1000).toFixed(1)} KB`;
const ms = (value) => `${value.toFixed(0)} ms`;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// ---------------------------------------------------------------------------
// Sizes: what each file costs on the wire when served with gzip encoding.

console.log('transferred size with gzip encoding (zlib level 9 of each file):');
let siteGzip = 0;
let siteRaw = 0;
let wasmGzip = null;
let iconsGzip = 0;
for (const file of await filesUnder(siteDir)) {
  const bytes = await readFile(path.join(siteDir, file));
  const gzip = gzipSync(bytes, { level: constants.Z_BEST_COMPRESSION }).length;
  siteGzip += gzip;
  siteRaw += bytes.length;
  if (file.startsWith('icons/')) {
    iconsGzip += gzip;
  }
  if (file.endsWith('.wasm')) {
    wasmGzip = (wasmGzip ?? 0) + gzip;
  }
  console.log(`  ${file.padEnd(28)} ${String(gzip).padStart(8)} B gzip  (${bytes.length} B)`);
}
console.log(`  ${'total'.padEnd(28)} ${String(siteGzip).padStart(8)} B gzip  (${siteRaw} B) = ${kb(siteGzip)}`);
console.log(
  `  ${'without icons/'.padEnd(28)} ${String(siteGzip - iconsGzip).padStart(8)} B gzip = ${kb(siteGzip - iconsGzip)}`,
);
console.log(`wasm alone: ${wasmGzip === null ? 'no .wasm file' : `${wasmGzip} B gzip = ${kb(wasmGzip)}`}`);

// ---------------------------------------------------------------------------
// Times: from the navigation's start to the main window being ready, which
// the page tells by body data-ready="1". The moment is taken in the page.

const MARK_READY = () => {
  const mark = () => {
    if (window.__tsReadyAt === undefined && document.body?.dataset.ready === '1') {
      window.__tsReadyAt = performance.now();
    }
  };
  new MutationObserver(mark).observe(document, {
    subtree: true,
    childList: true,
    attributes: true,
    attributeFilter: ['data-ready'],
  });
};

async function readyTime(page) {
  await page.waitForFunction(() => window.__tsReadyAt !== undefined, { timeout: 30_000 });
  return page.evaluate(() => window.__tsReadyAt);
}

async function newPage(context) {
  const page = await context.newPage();
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  await page.evaluateOnNewDocument(MARK_READY);
  return page;
}

// Each load in a context of its own: nothing cached, no service worker.
async function coldTimes(browser, url, phases = null) {
  const times = [];
  for (let run = 0; run < RUNS; run++) {
    const context = await browser.createBrowserContext();
    try {
      const page = await newPage(context);
      await page.goto(url, { waitUntil: 'load' });
      times.push(await readyTime(page));
      if (phases) {
        const marks = await page.evaluate(() => {
          const at = { 'page fetched': performance.getEntriesByType('navigation')[0]?.responseEnd };
          for (const entry of performance.getEntriesByType('resource')) {
            const name = new URL(entry.name).pathname.slice(1);
            if (/\.(js|wasm|css)$/.test(name)) {
              at[`${name} fetched`] = entry.responseEnd;
            }
          }
          return at;
        });
        for (const [name, at] of Object.entries(marks)) {
          (phases[name] ??= []).push(at);
        }
      }
    } finally {
      await context.close();
    }
  }
  return times;
}

// Loads after the first, once the service worker controls the page (for the
// static page, which has none: plain reloads).
async function warmTimes(browser, url, serviceWorker) {
  const context = await browser.createBrowserContext();
  try {
    const page = await newPage(context);
    await page.goto(url, { waitUntil: 'load' });
    await readyTime(page);
    if (serviceWorker) {
      const ready = await page.evaluate(() =>
        Promise.race([
          navigator.serviceWorker.ready.then(() => true),
          new Promise((resolve) => setTimeout(() => resolve(false), 10_000)),
        ]),
      );
      if (!ready) {
        return { error: 'navigator.serviceWorker.ready never resolved' };
      }
    }
    await page.reload({ waitUntil: 'load' });
    await readyTime(page);
    if (serviceWorker && !(await page.evaluate(() => navigator.serviceWorker.controller !== null))) {
      return { error: 'no service worker controls the page after a reload' };
    }
    const times = [];
    for (let run = 0; run < RUNS; run++) {
      await page.reload({ waitUntil: 'load' });
      times.push(await readyTime(page));
    }
    return { times };
  } finally {
    await context.close();
  }
}

async function memory(browser, url, wasm) {
  const context = await browser.createBrowserContext();
  try {
    const page = await newPage(context);
    await page.goto(url, { waitUntil: 'load' });
    await readyTime(page);
    const session = await page.createCDPSession();
    await session.send('HeapProfiler.collectGarbage');
    const heap = await session.send('Runtime.getHeapUsage');
    const wasmBytes = wasm
      ? await page.evaluate(() =>
          typeof window.TSWeb?.wasmMemoryBytes === 'function' ? window.TSWeb.wasmMemoryBytes() : null,
        )
      : null;
    await session.detach();
    return { heap: heap.usedSize, wasmBytes };
  } finally {
    await context.close();
  }
}

const site = await startServer(siteDir, 0);
const bare = await startServer(here, 0);
const siteUrl = `http://localhost:${site.port}/`;
const bareUrl = `http://localhost:${bare.port}/static_main.html`;
const chrome = await launchBrowser();
try {
  const { browser } = chrome;
  // One load of each first, so that neither pays for Chromium's own start.
  await coldTimes(browser, bareUrl).catch(() => {});

  const phases = {};
  const siteColdTimes = await coldTimes(browser, siteUrl, phases);
  const siteWarm = await warmTimes(browser, siteUrl, true);
  const bareColdTimes = await coldTimes(browser, bareUrl);
  const bareWarm = await warmTimes(browser, bareUrl, false);
  const siteCold = median(siteColdTimes);
  const bareCold = median(bareColdTimes);
  const runs = (times) => (times ? `  (runs ${times.map((t) => t.toFixed(0)).join(', ')})` : '');
  const siteMemory = await memory(browser, siteUrl, true);
  const bareMemory = await memory(browser, bareUrl, false);

  const siteWarmMedian = siteWarm.times ? median(siteWarm.times) : null;
  const bareWarmMedian = median(bareWarm.times);
  console.log(`ready, median of ${RUNS} (navigation start to body data-ready="1", 390×844 phone viewport):`);
  console.log(`  site, cold (fresh context):          ${ms(siteCold)}${runs(siteColdTimes)}`);
  console.log(
    `    of which: ${Object.entries(phases)
      .map(([name, at]) => `${name} ${ms(median(at))}`)
      .join(', ')}`,
  );
  console.log(
    `  site, from the service worker:       ${siteWarmMedian === null ? `not measured: ${siteWarm.error}` : ms(siteWarmMedian)}${runs(siteWarm.times)}`,
  );
  console.log(`  static page, cold:                   ${ms(bareCold)}${runs(bareColdTimes)}`);
  console.log(`  static page, reload:                 ${ms(bareWarmMedian)}${runs(bareWarm.times)}`);
  const coldRatio = siteCold / bareCold;
  const warmRatio = siteWarmMedian === null ? null : siteWarmMedian / bareWarmMedian;
  console.log(
    `  ratio site / static page:            cold ${coldRatio.toFixed(2)}×, reload ${warmRatio === null ? '-' : `${warmRatio.toFixed(2)}×`}`,
  );
  const mib = (bytes) => `${(bytes / 1048576).toFixed(2)} MiB`;
  console.log('memory after the first load (after garbage collection):');
  console.log(
    `  site: JS heap ${mib(siteMemory.heap)}, wasm memory ${siteMemory.wasmBytes === null ? 'unknown (no TSWeb.wasmMemoryBytes())' : mib(siteMemory.wasmBytes)}`,
  );
  console.log(`  static page: JS heap ${mib(bareMemory.heap)}`);

  const met = (ok) => (ok ? 'met' : 'NOT met');
  const readyOk = coldRatio <= READY_AIM_RATIO && (warmRatio === null || warmRatio <= READY_AIM_RATIO);
  console.log(
    `aims: site ${kb(siteGzip)} gzip <= ${kb(SITE_AIM_BYTES)}: ${met(siteGzip <= SITE_AIM_BYTES)}; ` +
      `ready <= ${READY_AIM_RATIO}× the static page: ${met(readyOk)} (cold ${coldRatio.toFixed(2)}×` +
      `${warmRatio === null ? '' : `, from the service worker ${warmRatio.toFixed(2)}×`})`,
  );
} finally {
  await chrome.close();
  await site.close();
  await bare.close();
}

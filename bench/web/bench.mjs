// Benchmark of the web edition's start beside a static page: what the site
// costs on the wire, how soon each page paints and how soon the main window
// is ready, cold, from the service worker and on a slow phone.
//
//   node bench/web/bench.mjs <siteDir> [loads] [--floors] [--against <otherSiteDir>]
//
// --floors adds two pages that show what the browser alone takes (below);
// --against loads a second build of the site in the same turns, which
// separates two builds where runs of one each, minutes apart, cannot.
//
// One headless Chromium; the site and the static page are loaded in turn
// (interleaved), `loads` times each (15 unless given), every load in a
// browser context of its own that is left to settle for a second before it
// navigates; medians. The static page is the site's own page as the program
// leaves it once ready with the typical party stored, taken from the site
// and served without the program: the same rows, totals, buttons, icon and
// style, painted from the markup alone.
//   first paint: the first contentful paint (PerformanceObserver "paint");
//   ready: the first frame painted once the main window shows the party's
//     rows and totals and takes input (body data-ready="1" on both pages);
//   cold: nothing cached, no service worker;
//   from the service worker: a later load of a context whose service worker
//     is active (the static page: a later load from the browser's cache);
//   slow phone: the same with the CPU slowed down 4 times (CDP).
import { gzipSync, constants } from 'node:zlib';
import { cp, mkdtemp, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { startServer } from '../../tests/web/server.mjs';
import { siteNames } from '../../tests/web/site/page.mjs';
import { launchBrowser } from '../../tests/web/browser.mjs';
import { median, seed, typicalParty } from './stored_party.mjs';

// Ready: 1.5× cold, 1.2× from the service worker, 1.5× on a slow phone
// either way.
const AIMS = { paint: 1.2, readyCold: 1.5, readyWarm: 1.2, readySlow: 1.5, firstPaintBytes: 60_000 };
const args = process.argv.slice(2);
const FLOORS = args.includes('--floors');
const againstAt = args.indexOf('--against');
const againstDir = againstAt >= 0 ? args[againstAt + 1] : null;
const [siteDir, loads] = args.filter((arg, i) => arg !== '--floors' && (againstAt < 0 || (i !== againstAt && i !== againstAt + 1)));
const LOADS = Number(loads ?? 15);
if (!siteDir || (againstAt >= 0 && !againstDir)) {
  console.error('usage: node bench/web/bench.mjs <siteDir> [loads] [--floors] [--against <otherSiteDir>]');
  process.exit(2);
}

const gz = (bytes) => gzipSync(bytes, { level: constants.Z_BEST_COMPRESSION }).length;
const kb = (bytes) => `${(bytes / 1000).toFixed(1)} KB`;
const load = async () => (await readFile('/proc/loadavg', 'utf8')).split(' ').slice(0, 3).join(' ');

// --- Bytes.

async function filesUnder(dir, prefix = '') {
  const found = [];
  for (const entry of await readdir(dir, { withFileTypes: true })) {
    const relative = prefix ? `${prefix}/${entry.name}` : entry.name;
    if (entry.isDirectory()) {
      found.push(...(await filesUnder(path.join(dir, entry.name), relative)));
    } else {
      found.push(relative);
    }
  }
  return found.sort();
}

console.log(`machine load at the start (1, 5, 15 min): ${await load()}`);
console.log('the site on the wire (gzip, level 9):');
let total = 0;
for (const file of await filesUnder(siteDir)) {
  const bytes = await readFile(path.join(siteDir, file));
  total += gz(bytes);
  console.log(`  ${file.padEnd(28)} ${String(gz(bytes)).padStart(7)} B  (${bytes.length} B)`);
}
console.log(`  ${'total'.padEnd(28)} ${String(total).padStart(7)} B = ${kb(total)}`);
// index.html carries the style and the main window's first picture; the
// program's script is deferred, so nothing else blocks the first paint.
const page = await readFile(path.join(siteDir, 'index.html'), 'utf8');
const firstPaintBytes = gz(Buffer.from(page));
console.log(`bytes the first paint needs (index.html alone): ${kb(firstPaintBytes)} gzip`);

// --- The static page and the stored party.

// The main window as the program shows the typical party once ready: the
// page's markup then, without its scripts (the end of the body says ready,
// as the program does).
async function staticPage(browser, url) {
  const context = await freshContext(browser, url, true);
  try {
    const tab = await context.newPage();
    await tab.setViewport(PHONE);
    await tab.goto(url);
    await tab.waitForFunction(() => document.body.dataset.ready === '1', { timeout: 30_000 });
    const html = await tab.evaluate(() => {
      const page = document.documentElement.cloneNode(true);
      page.querySelectorAll('script').forEach((script) => script.remove());
      page.querySelector('body').removeAttribute('data-ready');
      return `<!doctype html>\n${page.outerHTML}`;
    });
    await tab.close();
    return html.replace('</body>', "<script>document.body.dataset.ready = '1';</script>\n</body>");
  } finally {
    await context.close();
  }
}

// The floors (--floors): the static page again, but ready only once it has
// read the stored party from the site's database (as any program that keeps
// it there must before it can show it), and once it has also compiled the
// program's code. Nothing is done with either: what they cost is the
// browser's, the least a page with the program's storage and code can take.
function floorPage(html, { database, files, settings }, code) {
  const early = `<script>
(function () {
  var party = new Promise(function (resolve) {
    var request = indexedDB.open(${JSON.stringify(database)}, 1);
    request.onupgradeneeded = function () { request.result.createObjectStore(${JSON.stringify(files)}); };
    request.onerror = function () { resolve(null); };
    request.onsuccess = function () {
      var get = request.result.transaction(${JSON.stringify(files)}, 'readonly')
          .objectStore(${JSON.stringify(files)}).get(${JSON.stringify(settings)});
      get.onsuccess = function () { resolve(get.result); };
      get.onerror = function () { resolve(null); };
    };
  });
  var parsed = new Promise(function (resolve) { document.addEventListener('DOMContentLoaded', resolve); });
  var compiled = ${code ? "WebAssembly.compileStreaming(fetch('tally-share.wasm'))" : 'null'};
  Promise.all([party, parsed, compiled]).then(function () { document.body.dataset.ready = '1'; });
})();
</script>
</head>`;
  return html.replace('</head>', early).replace(/<script>document\.body\.dataset\.ready = '1';<\/script>\n/, '');
}

// In every page before its own scripts: the first contentful paint and the
// first frame after the main window is ready.
const MARKS = () => {
  window.__marks = {};
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) {
      if (entry.name === 'first-contentful-paint') {
        window.__marks.paint = entry.startTime;
      }
    }
  }).observe({ type: 'paint', buffered: true });
  const watch = new MutationObserver(() => {
    if (document.body?.dataset.ready === '1') {
      watch.disconnect();
      requestAnimationFrame(() => setTimeout(() => { window.__marks.ready = performance.now(); }));
    }
  });
  watch.observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
};

// --- Loads.

const settle = () => new Promise((resolve) => setTimeout(resolve, 1000));
const PHONE = { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true };

async function measured(context, url, slow) {
  const tab = await context.newPage();
  await tab.setViewport(PHONE);
  await tab.evaluateOnNewDocument(MARKS);
  const cdp = await tab.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: slow ? 4 : 1 });
  await tab.goto(url);
  await tab.waitForFunction(() => window.__marks.ready !== undefined && window.__marks.paint !== undefined, {
    timeout: 60_000,
  });
  const marks = await tab.evaluate(() => window.__marks);
  await cdp.detach();
  await tab.close();
  return marks;
}

// A fresh context, left to settle; for the site with the party stored (the
// store is filled from a file of the site that is not the page, so nothing
// the page needs is cached).
async function freshContext(browser, url, site) {
  const context = await browser.createBrowserContext();
  if (site) {
    const tab = await context.newPage();
    await tab.goto(`${url}manifest.webmanifest`);
    await tab.evaluate(seed, typicalParty(), await siteNames(url));
    await tab.close();
  }
  await settle();
  return context;
}

async function cold(browser, url, site, slow) {
  const context = await freshContext(browser, url, site);
  try {
    return await measured(context, url, slow);
  } finally {
    await context.close();
  }
}

// A load after the first, with the site's service worker in control.
async function warm(browser, url, site, slow) {
  const context = await freshContext(browser, url, site);
  try {
    const first = await context.newPage();
    await first.goto(url);
    await first.waitForFunction(() => document.body.dataset.ready === '1', { timeout: 30_000 });
    if (url === urls.site || url === urls.against) {
      await first.evaluate(() => navigator.serviceWorker.ready);
    }
    await first.close();
    await settle();
    const marks = await measured(context, url, slow);
    return marks;
  } finally {
    await context.close();
  }
}

const work = await mkdtemp(path.join(os.tmpdir(), 'ts-bench-'));
const site = await startServer(path.resolve(siteDir), 0);
const bare = await startServer(work, 0);
const urls = { site: `http://localhost:${site.port}/`, static: `http://localhost:${bare.port}/` };
const pages = ['site', 'static'];
const other = againstDir ? await startServer(path.resolve(againstDir), 0) : null;
if (other) {
  urls.against = `http://localhost:${other.port}/`;
  pages.push('against');
}
if (FLOORS) {
  urls.floor = `${urls.static}floor.html`;
  urls['floor+code'] = `${urls.static}floor-code.html`;
  pages.push('floor', 'floor+code');
}
const chrome = await launchBrowser();
const results = {};
try {
  const { browser } = chrome;
  // The static page beside the site's icons, which it shows too.
  const still = await staticPage(browser, urls.site);
  await writeFile(path.join(work, 'index.html'), still);
  await cp(path.join(siteDir, 'icons'), path.join(work, 'icons'), { recursive: true });
  if (FLOORS) {
    const names = await siteNames(urls.site);
    await writeFile(path.join(work, 'floor.html'), floorPage(still, names, false));
    await writeFile(path.join(work, 'floor-code.html'), floorPage(still, names, true));
    for (const file of ['names.json', 'tally-share.wasm']) {
      await cp(path.join(siteDir, file), path.join(work, file));
    }
  }
  await cold(browser, urls.static, false, false);  // Chromium's own first start, not counted
  for (const [kind, run] of [['cold', cold], ['from the service worker', warm]]) {
    for (const slow of [false, true]) {
      const key = `${kind}${slow ? ', slow phone (CPU ÷4)' : ''}`;
      results[key] = Object.fromEntries(pages.map((which) => [which, []]));
      for (let i = 0; i < LOADS; i++) {
        // Interleaved, the order alternating, so that no page gets the
        // machine's quieter moments.
        const order = i % 2 ? [...pages].reverse() : pages;
        for (const which of order) {
          results[key][which].push(await run(browser, urls[which], which !== 'static', slow));
        }
      }
    }
  }
} finally {
  await chrome.close();
  await site.close();
  await bare.close();
  await other?.close();
  await rm(work, { recursive: true, force: true });
}

const met = (ok) => (ok ? 'met' : 'NOT met');
console.log(`\nmedians of ${LOADS} loads each, 390×844 phone viewport:`);
for (const [key, { site: s, static: b, ...others }] of Object.entries(results)) {
  const aimReady = key.includes('slow') ? AIMS.readySlow : key.startsWith('from') ? AIMS.readyWarm : AIMS.readyCold;
  const row = (what) => {
    const site = median(s.map((m) => m[what]));
    const stat = median(b.map((m) => m[what]));
    const aim = what === 'paint' ? AIMS.paint : aimReady;
    return `${what === 'paint' ? 'first paint' : 'ready      '} site ${site.toFixed(0).padStart(5)} ms, static ${stat
      .toFixed(0)
      .padStart(5)} ms = ${(site / stat).toFixed(2)}× (aim ≤ ${aim}×: ${met(site / stat <= aim)})`;
  };
  console.log(`  ${key}:`);
  console.log(`    ${row('paint')}`);
  console.log(`    ${row('ready')}`);
  // The floors and the other build, against the static page too.
  for (const [which, o] of Object.entries(others)) {
    for (const what of which === 'against' ? ['paint', 'ready'] : ['ready']) {
      const at = median(o.map((m) => m[what]));
      const ratio = at / median(b.map((m) => m[what]));
      console.log(`    ${what.padEnd(5)} ${which.padEnd(10)} ${at.toFixed(0).padStart(5)} ms = ${ratio.toFixed(2)}× the static page`);
    }
  }
}
console.log(`  bytes the first paint needs: ${kb(firstPaintBytes)} (aim ≤ ${kb(AIMS.firstPaintBytes)}: ${met(firstPaintBytes <= AIMS.firstPaintBytes)})`);
console.log(`machine load at the end (1, 5, 15 min): ${await load()}`);

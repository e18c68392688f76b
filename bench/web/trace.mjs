// Where a start of the web edition spends its time, step by step: the page,
// the program's script and code, the runtime, the stored party, the
// program's first run, the first paint and ready; cold and from the
// service worker, with the typical party stored.
//
//   node bench/web/trace.mjs <siteDir> [loads] [--timeline]
//
// Each step is the median, over `loads` loads (9 unless given), of the time
// since the navigation started, taken in the page by wrapping what the page
// calls (WebAssembly, IndexedDB, the program's page script) from outside:
// the site runs unchanged. With --timeline, as many loads of each kind
// again are recorded with Chromium's tracing: the page's main thread's CPU
// time up to ready (a figure a busy machine changes less than the times
// above) and its kinds of work.
import { launchBrowser } from '../../tests/web/browser.mjs';
import { startServer } from '../../tests/web/server.mjs';
import { siteNames } from '../../tests/web/site/page.mjs';
import { median, seed, typicalParty } from './stored_party.mjs';

const args = process.argv.slice(2);
const timeline = args.includes('--timeline');
const [siteDir, loadsArg] = args.filter((a) => !a.startsWith('--'));
const LOADS = Number(loadsArg ?? 9);
if (!siteDir) {
  console.error('usage: node bench/web/trace.mjs <siteDir> [loads] [--timeline]');
  process.exit(2);
}

// In the page before its own scripts: every step's first moment.
const INSTRUMENT = () => {
  const steps = (window.__steps = {});
  const mark = (name) => {
    if (!(name in steps)) {
      steps[name] = performance.now();
    }
  };
  const around = (owner, key, name) => {
    const original = owner[key];
    if (typeof original !== 'function') {
      return;
    }
    owner[key] = function (...args) {
      mark(`${name}: called`);
      const result = original.apply(this, args);
      if (result && typeof result.then === 'function') {
        result.then(() => mark(`${name}: done`), () => {});
      } else if (result && typeof result.addEventListener === 'function') {
        result.addEventListener('success', () => mark(`${name}: done`));
      } else {
        mark(`${name}: done`);
      }
      return result;
    };
  };
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) {
      mark(entry.name);
    }
  }).observe({ type: 'paint', buffered: true });
  around(WebAssembly, 'compileStreaming', 'wasm compile (streaming)');
  around(WebAssembly, 'compile', 'wasm compile');
  around(WebAssembly, 'instantiateStreaming', 'wasm fetch+compile+instantiate');
  around(WebAssembly, 'instantiate', 'wasm instantiate');
  around(IDBFactory.prototype, 'open', 'IndexedDB open');
  around(IDBObjectStore.prototype, 'get', 'IndexedDB read');
  // The runtime calls these; a Module made before the program's script is
  // the one it fills.
  window.Module = {
    preRun: [() => mark('runtime: code instantiated')],
    onRuntimeInitialized: () => mark('runtime ready, main() starts'),
  };
  // The page script's parts, wrapped as they are defined.
  const hooks = {
    TSStore: (store) => around(store, 'load', 'store: party read into the program'),
    // Its functions are added by the parts after it: each is wrapped as it
    // is set.
    TSWeb: (web) => {
      for (const [key, name] of [
        ['openWindow', 'main window built'],
        ['listApply', 'list filled'],
        ['showWindow', 'main window shown'],
        ['nextEvent', 'first run over, waiting for input'],
      ]) {
        const wrap = (fn) =>
          typeof fn === 'function'
            ? function (...a) {
                mark(name);
                return fn.apply(this, a);
              }
            : fn;
        let wrapped = wrap(web[key]);
        Object.defineProperty(web, key, {
          configurable: true,
          enumerable: true,
          get: () => wrapped,
          set: (fn) => {
            wrapped = wrap(fn);
          },
        });
      }
    },
  };
  for (const [global, hook] of Object.entries(hooks)) {
    let value;
    Object.defineProperty(window, global, {
      configurable: true,
      get: () => value,
      set: (v) => {
        value = v;
        if (v) {
          hook(v);
        }
      },
    });
  }
  const watch = new MutationObserver(() => {
    if (document.body?.dataset.ready === '1') {
      watch.disconnect();
      mark('ready');
      requestAnimationFrame(() => setTimeout(() => mark('ready, painted')));
    }
  });
  watch.observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
};

// What the navigation and resource timings say of the files.
function fileTimes() {
  const out = {};
  const [nav] = performance.getEntriesByType('navigation');
  out['page: response starts'] = nav.responseStart;
  out['page: response ends'] = nav.responseEnd;
  out['page: parsed (DOMContentLoaded)'] = nav.domContentLoadedEventStart;
  for (const entry of performance.getEntriesByType('resource')) {
    const file = entry.name.split('/').pop();
    if (file === 'tally-share.js' || file === 'tally-share.wasm') {
      out[`${file}: requested`] = entry.startTime;
      out[`${file}: arrived`] = entry.responseEnd;
    }
  }
  return out;
}

const settle = () => new Promise((resolve) => setTimeout(resolve, 1000));

async function freshContext(browser, url) {
  const context = await browser.createBrowserContext();
  const tab = await context.newPage();
  await tab.goto(`${url}manifest.webmanifest`);
  await tab.evaluate(seed, typicalParty(), await siteNames(url));
  await tab.close();
  await settle();
  return context;
}

async function measured(context, url, record) {
  const tab = await context.newPage();
  await tab.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  await tab.evaluateOnNewDocument(INSTRUMENT);
  if (record) {
    await tab.tracing.start({
      categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline', 'v8', 'v8.wasm', 'blink'],
    });
  }
  await tab.goto(url);
  await tab.waitForFunction(() => window.__steps['ready, painted'] !== undefined, { timeout: 60_000 });
  const steps = { ...(await tab.evaluate(fileTimes)), ...(await tab.evaluate(() => window.__steps)) };
  const trace = record ? JSON.parse(Buffer.from(await tab.tracing.stop()).toString('utf8')) : null;
  await tab.close();
  return { steps, trace };
}

async function load(browser, url, warm, record = false) {
  const context = await freshContext(browser, url);
  try {
    if (warm) {
      const first = await context.newPage();
      await first.goto(url);
      await first.waitForFunction(() => document.body.dataset.ready === '1', { timeout: 30_000 });
      await first.evaluate(() => navigator.serviceWorker.ready);
      await first.close();
      await settle();
    }
    return await measured(context, url, record);
  } finally {
    await context.close();
  }
}

// The page's main thread from the navigation to ready: its CPU time (the
// time it ran, which other programs on the machine do not lengthen much)
// and its work by kind (nested events count in their parents too).
function mainThread(trace, url, readyMs) {
  const events = trace.traceEvents;
  const parse = events.find((e) => e.name === 'ParseHTML' && e.args?.beginData?.url === url);
  const request = events.find((e) => e.name === 'ResourceSendRequest' && e.args?.data?.url === url);
  if (!parse || !request) {
    return null;
  }
  const end = request.ts + readyMs * 1000;
  const mine = (e) => e.ph === 'X' && e.pid === parse.pid && e.tid === parse.tid && e.ts >= request.ts && e.ts <= end;
  let cpu = 0;
  const kinds = new Map();
  for (const e of events) {
    if (!mine(e)) {
      continue;
    }
    if (e.name === 'RunTask') {
      cpu += (e.tdur ?? e.dur ?? 0) / 1000;
      continue;
    }
    const file = (e.args?.data?.url ?? e.args?.fileName ?? '').split('/').pop();
    const kind = file ? `${e.name} ${file}` : e.name;
    kinds.set(kind, (kinds.get(kind) ?? 0) + (e.tdur ?? e.dur ?? 0) / 1000);
  }
  return { cpu, kinds };
}

const server = await startServer(siteDir, 0);
const chrome = await launchBrowser();
const url = `http://localhost:${server.port}/`;
const loadavg = async () => (await import('node:fs/promises')).readFile('/proc/loadavg', 'utf8');
try {
  console.log(`machine load (1, 5, 15 min): ${(await loadavg()).split(' ').slice(0, 3).join(' ')}`);
  await load(chrome.browser, url, false);  // Chromium's own first start, not counted
  for (const [kind, warm] of [['cold', false], ['from the service worker', true]]) {
    const runs = [];
    for (let i = 0; i < LOADS; i++) {
      runs.push((await load(chrome.browser, url, warm)).steps);
    }
    const names = [...new Set(runs.flatMap((r) => Object.keys(r)))];
    const rows = names
      .map((name) => ({ name, values: runs.map((r) => r[name]).filter((v) => v !== undefined) }))
      .map(({ name, values }) => ({ name, at: median(values), seen: values.length }))
      .sort((a, b) => a.at - b.at);
    console.log(`\n${kind}: medians of ${LOADS} loads, ms since the navigation started`);
    for (const { name, at, seen } of rows) {
      console.log(`  ${at.toFixed(1).padStart(7)}  ${name}${seen < LOADS ? ` (in ${seen} loads)` : ''}`);
    }
    if (timeline) {
      const threads = [];
      for (let i = 0; i < LOADS; i++) {
        const { steps, trace } = await load(chrome.browser, url, warm, true);
        const thread = mainThread(trace, url, steps['ready, painted']);
        if (thread) {
          threads.push(thread);
        }
      }
      console.log(`  main thread up to ready, CPU: median ${median(threads.map((t) => t.cpu)).toFixed(1)} ms of ${threads.length} traced loads; by kind, medians:`);
      const names = [...new Set(threads.flatMap((t) => [...t.kinds.keys()]))];
      const rows = names.map((name) => [name, median(threads.map((t) => t.kinds.get(name) ?? 0))]);
      for (const [name, ms] of rows.sort((a, b) => b[1] - a[1]).slice(0, 14)) {
        console.log(`    ${ms.toFixed(1).padStart(7)} ms  ${name}`);
      }
    }
  }
  console.log(`\nmachine load (1, 5, 15 min): ${(await loadavg()).split(' ').slice(0, 3).join(' ')}`);
} finally {
  await chrome.close();
  await server.close();
}

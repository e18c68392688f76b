// Benchmark of the web edition with a large party: how soon a start shows
// the whole list, and how soon one change is shown (saved first), with
// 1,000 and 10,000 groups.
//
//   node bench/web/large_party.mjs <siteDir> [runs]
//
// The party is put into the site's storage before the page opens. Times are
// medians, taken in the page: a start from the navigation's start to the
// first frame painted after the main window became ready; a change from the
// click on the group dialog's OK to the first frame painted with the new row.
import { startServer } from '../../tests/web/server.mjs';
import { siteNames } from '../../tests/web/site/page.mjs';
import { launchBrowser } from '../../tests/web/browser.mjs';
import { median, seed, settingsFile } from './stored_party.mjs';

const AIMS = { 1000: { start: 300, change: 60 }, 10000: { start: 700, change: 500 } };
const siteDir = process.argv[2];
const RUNS = Number(process.argv[3] ?? 5);
if (!siteDir) {
  console.error('usage: node bench/web/large_party.mjs <siteDir> [runs]');
  process.exit(2);
}

// A party of `count` groups of every kind of figure.
function largeParty(count) {
  const groups = [];
  for (let i = 0; i < count; i++) {
    groups.push({ name: `グループ ${i + 1}`, people: 1 + (i % 9), ratio: 100 - (i % 5) * 10, advance: (i % 7) * 1000 });
  }
  return settingsFile({ total: 12345678, unit: 1000, groups });
}

// Marks the first frame after the main window is ready.
const MARK_PAINTED = () => {
  const watch = new MutationObserver(() => {
    if (document.body?.dataset.ready === '1') {
      watch.disconnect();
      requestAnimationFrame(() => setTimeout(() => { window.__painted = performance.now(); }));
    }
  });
  watch.observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
};

async function measure(browser, url, count) {
  const bytes = largeParty(count);
  const starts = [];
  const changes = [];
  for (let run = 0; run < RUNS; run++) {
    const context = await browser.createBrowserContext();
    try {
      const page = await context.newPage();
      await page.setViewport({ width: 1280, height: 800 });
      await page.goto(`${url}manifest.webmanifest`);
      await page.evaluate(seed, bytes, await siteNames(url));
      await page.evaluateOnNewDocument(MARK_PAINTED);
      await page.goto(url);
      await page.waitForFunction(() => window.__painted !== undefined, { timeout: 120_000 });
      const rows = await page.$$eval('main tbody tr', (trs) => trs.length);
      if (rows !== count) {
        throw new Error(`${rows} rows shown of ${count}`);
      }
      starts.push(await page.evaluate(() => window.__painted));
      await page.click('main [data-control-id="1015"]');
      await page.waitForSelector('dialog[data-template-id="103"][open] [data-control-id="1"]', { visible: true });
      const changed = await page.evaluate(
        (expected) =>
          new Promise((resolve) => {
            const table = document.querySelector('main table');
            const clicked = performance.now();
            const watch = new MutationObserver(() => {
              if (table.rows.length - 1 === expected) {
                watch.disconnect();
                requestAnimationFrame(() => setTimeout(() => resolve(performance.now() - clicked)));
              }
            });
            watch.observe(table, { childList: true, subtree: true });
            document.querySelector('dialog[data-template-id="103"][open] [data-control-id="1"]').click();
          }),
        count + 1,
      );
      changes.push(changed);
    } finally {
      await context.close();
    }
  }
  return { start: median(starts), change: median(changes), starts, changes };
}

const server = await startServer(siteDir, 0);
const chrome = await launchBrowser();
try {
  const url = `http://localhost:${server.port}/`;
  for (const count of [1000, 10000]) {
    const result = await measure(chrome.browser, url, count);
    const aim = AIMS[count];
    const line = (what, value, values, limit) =>
      `  ${what} ${value.toFixed(0)} ms (runs ${values.map((v) => v.toFixed(0)).join(', ')}; aim <= ${limit} ms: ${value <= limit ? 'met' : 'NOT met'})`;
    console.log(`${count} groups, median of ${RUNS}:`);
    console.log(line('start, painted:', result.start, result.starts, aim.start));
    console.log(line('one group added, shown:', result.change, result.changes, aim.change));
  }
} finally {
  await chrome.close();
  await server.close();
}

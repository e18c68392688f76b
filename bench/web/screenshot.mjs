// Draws the web edition's main window on a phone for the README: two
// groups, a total, and the list after 区切計算.
//
//   node bench/web/screenshot.mjs <siteDir> <out.png>
import path from 'node:path';
import { startServer } from '../../tests/web/server.mjs';
import { launchBrowser, waitReady } from '../../tests/web/browser.mjs';

const [siteDir, out] = process.argv.slice(2);
if (!siteDir || !out) {
  console.error('usage: node bench/web/screenshot.mjs <siteDir> <out.png>');
  process.exit(2);
}

const MAIN = 'main[data-template-id="101"]';
const GROUP = 'dialog[data-template-id="103"][open]';
const TOTAL = 'dialog[data-template-id="104"][open]';

async function type(page, selector, text) {
  await page.click(selector);
  await page.$eval(selector, (input) => input.select());
  await page.keyboard.press('Backspace');
  await page.keyboard.type(text);
}

async function fill(page, dialog, opener, fields) {
  await page.click(`${MAIN} [data-control-id="${opener}"]`);
  await page.waitForSelector(dialog, { visible: true });
  for (const [id, text] of fields) {
    await type(page, `${dialog} [data-control-id="${id}"]`, text);
  }
  await page.click(`${dialog} [data-control-id="1"]`);
  await page.waitForFunction((s) => document.querySelector(s) === null, {}, dialog);
}

const server = await startServer(siteDir, 0);
const chrome = await launchBrowser();
try {
  const page = await chrome.browser.newPage();
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  await page.goto(`http://localhost:${server.port}/`, { waitUntil: 'load' });
  await waitReady(page);
  await fill(page, GROUP, 1015, [
    [1009, '幹事チーム'],
    [1021, '2'],
    [1020, '3500'],
  ]);
  await fill(page, GROUP, 1015, [
    [1009, 'ゲスト 田中'],
    [1021, '3'],
    [1025, '90'],
    [1020, '1000'],
  ]);
  await fill(page, TOTAL, 1017, [
    [1019, '12345'],
    [1029, '1000'],
  ]);
  await page.click(`${MAIN} [data-control-id="1022"]`);
  await page.waitForFunction(
    (s) => document.querySelectorAll(s).length === 2 && document.querySelector(s).cells[4]?.textContent.trim() !== '',
    { timeout: 5_000 },
    `${MAIN} [data-control-id="1000"] tbody tr`,
  );
  // Whatever took the focus last shows no ring in the picture.
  await page.evaluate(() => document.activeElement?.blur());
  await page.screenshot({ path: path.resolve(out) });
  console.log(`wrote ${path.resolve(out)}`);
} finally {
  await chrome.close();
  await server.close();
}

// Draws the web edition on a phone for the README: the main window with
// two groups, a total, and the list after 区切計算; when a second picture
// is asked for, the QR dialog of that party; and when a third, 精算 of an
// evening of two rounds with two members marked.
//
//   node bench/web/screenshot.mjs <siteDir> <out.png> [qr.png] [settlement.png]
import path from 'node:path';
import { startServer } from '../../tests/web/server.mjs';
import { launchBrowser } from '../../tests/web/browser.mjs';
import { App } from '../../tests/web/site.mjs';

const [siteDir, out, qr, settlement] = process.argv.slice(2);
if (!siteDir || !out) {
  console.error('usage: node bench/web/screenshot.mjs <siteDir> <out.png> [qr.png] [settlement.png]');
  process.exit(2);
}

const PHONE = { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true };

// An evening entered as a person enters it: 一次会 of five groups, 二次会
// with two people fewer, both calculated to 1000 yen; then 精算 from the
// round selector's menu, two members marked on their cards.
async function drawSettlement(context, file) {
  const app = await App.open(context, `http://localhost:${server.port}/`, { viewport: PHONE });
  const groups = [['幹事チーム', 1, 100], ['ゲスト 田中', 2, 90], ['営業部 佐藤', 3, 80], ['経理 鈴木', 4, 100], ['新人 高橋', 1, 50]];
  for (const [name, people, ratio] of groups) {
    await app.addGroup({ name, people: String(people), ratio: String(ratio), advance: '0' });
  }
  await app.enterTotal({ total: '48000', unit: '1000' });
  await app.calculate('区切計算');
  await app.menu('次の会を追加');
  await app.settled();
  await app.selectRow(2);
  const dialog = await app.change();
  await dialog.fill({ people: '1' });
  await dialog.ok();
  await app.settled();
  await app.enterTotal({ total: '20000', unit: '1000' });
  await app.calculate('区切計算');
  await app.roundMenu('精算');
  await app.markOnCard('ゲスト 田中 2人（一次会・二次会）');
  await app.markOnCard('営業部 佐藤 1人（一次会・二次会）');
  await app.page.evaluate(() => document.activeElement?.blur());
  await app.page.screenshot({ path: file });
}

const server = await startServer(siteDir, 0);
const chrome = await launchBrowser();
try {
  const app = await App.open(chrome.browser.defaultBrowserContext(), `http://localhost:${server.port}/`, {
    viewport: PHONE,
  });
  await app.addGroup({ name: '幹事チーム', people: '2', advance: '3500' });
  await app.addGroup({ name: 'ゲスト 田中', people: '3', ratio: '90', advance: '1000' });
  await app.enterTotal({ total: '12345', unit: '1000' });
  await app.calculate('区切計算');
  // Whatever took the focus last shows no ring in the picture.
  await app.page.evaluate(() => document.activeElement?.blur());
  await app.page.screenshot({ path: path.resolve(out) });
  console.log(`wrote ${path.resolve(out)}`);
  if (qr) {
    await app.openLinkDialog();
    await app.page.evaluate(() => document.activeElement?.blur());
    await app.page.screenshot({ path: path.resolve(qr) });
    console.log(`wrote ${path.resolve(qr)}`);
  }
  if (settlement) {
    await drawSettlement(await chrome.browser.createBrowserContext(), path.resolve(settlement));
    console.log(`wrote ${path.resolve(settlement)}`);
  }
} finally {
  await chrome.close();
  await server.close();
}

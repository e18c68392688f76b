// Draws the web edition on a phone for the README: the main window with
// two groups, a total, and the list after 区切計算; and, when a second
// picture is asked for, the QR dialog of that party.
//
//   node bench/web/screenshot.mjs <siteDir> <out.png> [qr.png]
import path from 'node:path';
import { startServer } from '../../tests/web/server.mjs';
import { launchBrowser } from '../../tests/web/browser.mjs';
import { App } from '../../tests/web/site.mjs';

const [siteDir, out, qr] = process.argv.slice(2);
if (!siteDir || !out) {
  console.error('usage: node bench/web/screenshot.mjs <siteDir> <out.png> [qr.png]');
  process.exit(2);
}

const server = await startServer(siteDir, 0);
const chrome = await launchBrowser();
try {
  const app = await App.open(chrome.browser.defaultBrowserContext(), `http://localhost:${server.port}/`, {
    viewport: { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
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
} finally {
  await chrome.close();
  await server.close();
}

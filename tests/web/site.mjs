// The site as a person sees it: the words the browser tests are written in.
// Every selector and attribute of the page, and where the site keeps the
// party, are known under site/ only, one file for each thing the tests speak
// of: a change to the page (cards in place of table rows, title bars on the
// boxes, a new dialog) is met there.
//
// Controls are found by their accessible names (puppeteer's ::-p-aria), as a
// screen reader finds them: a control that loses its name is not found.
import { siteNames, until } from './site/page.mjs';
import { mainWindow } from './site/main_window.mjs';
import { list } from './site/list.mjs';
import { boxes } from './site/boxes.mjs';
import { storage } from './site/storage.mjs';
import { start } from './site/start.mjs';
import { link } from './site/link.mjs';
import { layout } from './site/layout.mjs';
import { settlement } from './site/settlement.mjs';

export { writeLegacyStore } from './site/storage.mjs';

export class App {
  constructor(page) {
    this.page = page;
  }

  // Opens the site in a new tab and waits until the main window takes
  // commands (with ready: false, only until the page has loaded).
  // `quota` limits the site's storage (bytes) before the page opens its
  // database: Chromium holds only databases opened later to a new quota.
  static async open(context, url, { viewport = { width: 1280, height: 800 }, ready = true, onError, quota } = {}) {
    const page = await context.newPage();
    if (onError) {
      page.on('pageerror', (error) => onError(`uncaught error in the page: ${error.message}`));
      page.on('console', (m) => m.type() === 'error' && onError(`console error: ${m.text()}`, { noteOnly: true }));
    }
    await page.setViewport(viewport);
    const app = new App(page);
    app.names = await siteNames(url);
    if (quota !== undefined) {
      await app.limitStorage(quota, url);
    }
    await page.goto(url, { waitUntil: 'load' });
    if (ready) {
      await app.ready();
    }
    return app;
  }

  async ready() {
    await until(this.page, () => document.body?.dataset.ready === '1', [], () => 'the main window never became ready');
  }

  isReady() {
    return this.page.evaluate(() => document.body?.dataset.ready === '1');
  }

  async reload({ offline = false } = {}) {
    await this.page.setOfflineMode(offline);
    await this.page.reload({ waitUntil: 'load' });
    await this.ready();
  }

  close() {
    return this.page.close();
  }
}

// Each word is said by one part only.
for (const part of [mainWindow, list, boxes, storage, start, link, layout, settlement]) {
  for (const [name, method] of Object.entries(part)) {
    if (name in App.prototype) {
      throw new Error(`site: ${name} is defined twice`);
    }
    App.prototype[name] = method;
  }
}

// Start-up: the main window as the page paints it before its program
// runs, the service worker, and a second tab.
import { WAIT, until } from './page.mjs';

export const start = {
  // Where the main window's parts are, by the control they show (id, or
  // index for a control without one), as the page paints it first, before
  // its program has run (a tab of the same size without scripts).
  async firstPicture() {
    const tab = await this.page.browserContext().newPage();
    try {
      await tab.setViewport(this.page.viewport());
      await tab.setJavaScriptEnabled(false);
      await tab.goto(this.page.url(), { waitUntil: 'load' });
      return await tab.evaluate(placesOfParts);
    } finally {
      await tab.close();
    }
  },

  // The same, of the main window as it is now.
  places() {
    return this.page.evaluate(placesOfParts);
  },

  // The script of the service worker that has taken the site on, or what
  // stands in its way.
  serviceWorker() {
    return this.page.evaluate(async (timeout) => {
      const late = new Promise((resolve) => setTimeout(() => resolve('no service worker ready in time'), timeout));
      const ready = navigator.serviceWorker?.ready.then((r) => r.active?.scriptURL ?? 'no active worker');
      return ready ? Promise.race([ready, late]) : 'no navigator.serviceWorker';
    }, WAIT);
  },

  controlledByServiceWorker() {
    return this.page.evaluate(() => navigator.serviceWorker?.controller != null);
  },

  // Each file the page's head names (its icons, the manifest) and whether
  // the page can fetch it now.
  headFiles() {
    return this.page.evaluate(() =>
      Promise.all(
        [...document.head.querySelectorAll('link[href]')].map((link) => {
          const file = link.getAttribute('href');
          return fetch(link.href).then((response) => [file, response.ok], () => [file, false]);
        }),
      ),
    );
  },

  // What the page says while another tab has the party; null once it
  // neither shows the notice nor waits.
  elsewhereNotice() {
    return this.page.evaluate(() => {
      const notice = document.getElementById('ts-elsewhere');
      if (notice?.checkVisibility()) {
        return notice.textContent.trim();
      }
      return document.body.dataset.waiting === '1' ? '(waiting, with no notice shown)' : null;
    });
  },

  // Waits until the page shows that another tab has the party, and waits.
  async waitElsewhereNotice() {
    const shown = () => document.body.dataset.waiting === '1' && document.getElementById('ts-elsewhere')?.checkVisibility();
    await until(this.page, shown, [], () => 'the tab never says that another tab has the party');
    return this.elsewhereNotice();
  },
};

// Runs in the page: the boxes of the main window's parts that are shown,
// rounded to whole pixels.
function placesOfParts() {
  const places = {};
  const main = document.querySelector('main');
  const parts = [['caption', main.querySelector('h1')], ...[...main.querySelectorAll('[data-control-id], [data-command]')].map((e) => [
    e.dataset.command ? `command ${e.dataset.command}` : e.dataset.controlId === '-1' ? `index ${e.dataset.index}` : `control ${e.dataset.controlId}`,
    e,
  ])];
  for (const [key, element] of parts) {
    if (element.checkVisibility()) {
      const box = element.getBoundingClientRect();
      places[key] = [box.left, box.top, box.width, box.height].map(Math.round).join(' ');
    }
  }
  return places;
}

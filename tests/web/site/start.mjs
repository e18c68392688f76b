// Start-up: the service worker, and a second tab.
import { WAIT, until } from './page.mjs';

export const start = {
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

// A party shared by link: the QR dialog, and the read-only view a link
// opens.
import { NOTICE, WINDOWS, aria, find, gone, until } from './page.mjs';

export const link = {
  // Opens the QR dialog from the main window's title bar; what it shows.
  async openLinkDialog() {
    await this.press('QRコード');
    return this.linkDialog();
  },

  // What the QR dialog shows once its code is drawn (or given up): the
  // link (its address, and whether it reads as itself), the note above
  // it, and the code: its size in modules with the quiet zone (from the
  // picture's viewBox) and its width in CSS pixels; null without one.
  async linkDialog() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    await until(this.page, (d) => d.querySelector('[aria-busy="true"]') === null, [dialog], () =>
      'the QR code is never drawn');
    return dialog.evaluate((d) => {
      const link = d.querySelector('a[href]');
      const picture = d.querySelector('svg[role="img"]');
      return {
        link: link?.getAttribute('href') ?? null,
        linkReadsAsItself: link?.textContent === link?.getAttribute('href'),
        note: document.getElementById(d.getAttribute('aria-describedby'))?.textContent ?? null,
        code: picture && {
          modules: picture.viewBox.baseVal.width,
          width: picture.getBoundingClientRect().width,
        },
      };
    });
  },

  // The QR code as the screen shows it, as PNG bytes.
  async qrCodePicture() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    return (await find(dialog, 'svg[role="img"]', 'the QR code')).screenshot({ type: 'png' });
  },

  // Presses リンクをコピー; what the dialog then says.
  async copyLink() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    await (await find(dialog, aria('リンクをコピー', 'button'))).click();
    const status = await find(dialog, '[role="status"]', 'the copy status');
    await until(this.page, (s) => s.textContent !== '', [status], () => 'the copy says nothing');
    return status.evaluate((s) => s.textContent);
  },

  async closeLinkDialog() {
    const dialog = await find(this.page, WINDOWS.link, 'the link dialog');
    await (await find(dialog, aria('閉じる', 'button'))).click();
    await gone(this.page, WINDOWS.link, 'the link dialog');
  },

  // Waits until the main window shows a party of this device's own: no
  // read-only notice, and its commands (after この内容で編集する).
  async ownPartyShown() {
    const own = (notice) => {
      const main = document.querySelector('main');
      const add = main && [...main.querySelectorAll('button')].find((b) => b.textContent.trim() === '追加');
      const noticeShown = [...document.querySelectorAll(notice)].some((e) => e.checkVisibility() && e.textContent.trim());
      return document.body.dataset.waiting !== '1' && !noticeShown && add?.checkVisibility();
    };
    await until(this.page, own, [NOTICE], () => 'the party is never shown as this device\'s own');
  },

  // Follows a link in this tab, as a link tapped in it does: the address
  // changes, the page is not loaded again by the browser itself.
  async follow(address) {
    await this.page.evaluate((to) => {
      location.href = to;
    }, address);
  },

  // The page's address, fragment included.
  address() {
    return this.page.url();
  },
};

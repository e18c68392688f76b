// The message boxes: what the one that is up says, how it looks, and its
// answers.
import { WINDOWS, aria, find, gone, until } from './page.mjs';

// A message box's answers by the names of their buttons.
const ANSWERS = { ok: 'OK', cancel: 'キャンセル', retry: '再試行', yes: 'はい', no: 'いいえ' };

export const boxes = {
  // The message box that is up: its caption, text and answers.
  async box() {
    const box = await find(this.page, WINDOWS.box, 'a message box');
    const { caption, text, buttons } = await box.evaluate((element) => {
      const byId = (attribute) => document.getElementById(element.getAttribute(attribute))?.textContent.trim() ?? null;
      const buttons = [...element.querySelectorAll('button')].map((b) => b.textContent.trim());
      return { caption: byId('aria-labelledby'), text: byId('aria-describedby'), buttons };
    });
    const keys = Object.fromEntries(Object.entries(ANSWERS).map(([key, label]) => [label, key]));
    return { caption, text, answers: buttons.map((label) => keys[label] ?? label) };
  },

  // How the message box that is up looks: the name of its icon (null
  // without one) and whether its caption stands in a title bar drawn as the
  // main window's is.
  async boxLook() {
    const box = await find(this.page, WINDOWS.box, 'a message box');
    return box.evaluate((element) => {
      const bar = document.getElementById(element.getAttribute('aria-labelledby'))?.closest('header');
      const mainBar = document.querySelector('main header');
      const looks = (e) => ['backgroundColor', 'color'].map((p) => getComputedStyle(e)[p]).join();
      return {
        icon: element.querySelector('[role="img"]')?.getAttribute('aria-label') ?? null,
        titleBar: Boolean(bar && mainBar && bar.className === mainBar.className && looks(bar) === looks(mainBar)),
      };
    });
  },

  // Answers the message box that is up: 'ok', 'cancel', 'retry', 'yes', 'no'.
  // With { another: true } the answer brings up another box at once.
  async answer(key, { another = false } = {}) {
    const { text } = another ? await this.box() : {};
    await (await find(await find(this.page, WINDOWS.box, 'a message box'), aria(ANSWERS[key], 'button'))).click();
    if (!another) {
      await this.boxClosed();
      return;
    }
    const next = (box, before) => {
      const up = document.querySelector(box);
      return up !== null && document.getElementById(up.getAttribute('aria-describedby'))?.textContent.trim() !== before;
    };
    await until(this.page, next, [WINDOWS.box, text], () => 'no other message box came up');
  },

  boxClosed() {
    return gone(this.page, WINDOWS.box, 'the message box');
  },
};

// The settlement of the evening (精算): a card (or, on a wide screen, a
// row) per class of members with its figure, the marks of who has paid,
// what the dialog says of the organiser's money and of what is left, 支払先
// and the reminder.
import { WINDOWS, aria, find, gone, trimAscii, until } from './page.mjs';

const PLAN = aria('精算の一覧', 'grid');
const ROWS = 'tbody tr';
// A class's cells by what they show, and the 済 of its card.
const CELL = { label: '.ts-col-class', figure: '.ts-col-figure', settled: '.ts-col-settled', left: '.ts-col-left', parts: '.ts-col-parts' };
const CARD_MARK = '.ts-row-command > button';
const TEXTS = '.ts-body > .ts-static';

async function dialog(page) {
  return find(page, WINDOWS.settlement, 'the settlement');
}

async function plan(page) {
  return find(await dialog(page), PLAN, 'the plan of the settlement');
}

export const settlement = {
  // What the settlement shows: each class as { label, figure, settled,
  // left, parts }, in its order, and the texts it says below them (the
  // organiser's line, what is left, the labels of what may be changed).
  async settlement() {
    const classes = await (await plan(this.page)).$$eval(ROWS, (rows, cell) =>
      rows.map((row) => Object.fromEntries(Object.entries(cell).map(([key, selector]) => [key, row.querySelector(selector)?.textContent ?? null]))),
    CELL);
    const said = await (await dialog(this.page)).$$eval(TEXTS, (all) =>
      all.filter((e) => e.checkVisibility()).map((e) => e.textContent));
    return {
      classes: classes.map((c) => Object.fromEntries(Object.entries(c).map(([k, v]) => [k, v === null ? null : trimAscii(v)]))),
      said: said.map(trimAscii).filter((text) => text !== ''),
    };
  },

  // Taps 済 on the card of class `label`; resolves once the card shows
  // one member more as settled.
  async markOnCard(label) {
    const rows = await (await plan(this.page)).$$(ROWS);
    const labels = await Promise.all(rows.map((row) => row.$eval(CELL.label, (c) => c.textContent.trim())));
    const row = rows[labels.indexOf(label)];
    if (row === undefined) {
      throw new Error(`no class ${label} among ${labels.join(', ')}`);
    }
    const before = await row.$eval(CELL.settled, (c) => c.textContent);
    await (await find(row, CARD_MARK, `済 on the card of ${label}`)).tap();
    await until(this.page, (r, s, b) => r.querySelector(s).textContent !== b, [row, CELL.settled, before], () =>
      `the card of ${label} still says ${before}`);
  },

  // The 済 buttons the cards show, one boolean (may be tapped) per card;
  // null for a card without one.
  async cardMarks() {
    return (await plan(this.page)).$$eval(ROWS, (rows, mark) =>
      rows.map((row) => {
        const button = row.querySelector(mark);
        return button?.checkVisibility() ? !button.disabled : null;
      }), CARD_MARK);
  },

  // Types the organiser's payment details (支払先).
  async enterPayee(text) {
    const field = await find(await dialog(this.page), aria('支払先', 'textbox'), 'the field 支払先');
    await field.click();
    await field.evaluate((input) => input.select());
    await this.page.keyboard.press('Backspace');
    await this.page.keyboard.type(text);
  },

  // Presses 催促文をコピー; resolves with what the clipboard then holds.
  async copyReminder() {
    await this.clearClipboard();
    await (await find(await dialog(this.page), aria('催促文をコピー', 'button'))).click();
    await until(this.page, () => navigator.clipboard.readText().then((text) => text !== ''), [], () =>
      'the reminder never reached the clipboard');
    return this.clipboard();
  },

  async closeSettlement() {
    const shown = await dialog(this.page);
    const body = await shown.$('.ts-body');
    await (await find(body, aria('閉じる', 'button'), 'the button 閉じる')).click();
    await gone(this.page, WINDOWS.settlement, 'the settlement');
  },

  // What a person sees of each class as its card is scrolled into view:
  // whether its figure lies inside the screen, which texts are cut, the
  // figure's type size against the largest of the others, and the size of
  // its 済 (null without one).
  async classesAsSeen() {
    return (await plan(this.page)).evaluate((table, rows, cell, mark) => {
      const size = (e) => parseFloat(getComputedStyle(e).fontSize);
      return [...table.querySelectorAll(rows)].map((row) => {
        const figure = row.querySelector(cell.figure);
        figure.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        const box = figure.getBoundingClientRect();
        const texts = Object.values(cell).map((s) => row.querySelector(s));
        const button = row.querySelector(mark);
        const buttonBox = button?.checkVisibility() ? button.getBoundingClientRect() : null;
        return {
          figureInView: box.left >= -0.5 && box.right <= innerWidth + 0.5 && box.top >= -0.5 && box.bottom <= innerHeight + 0.5,
          cut: texts.filter((c) => c.scrollWidth > c.clientWidth + 1 || c.getBoundingClientRect().right > row.getBoundingClientRect().right + 0.5).map((c) => c.textContent),
          figureLargest: texts.filter((c) => c !== figure).every((c) => size(figure) > size(c)),
          mark: buttonBox && { width: Math.round(buttonBox.width), height: Math.round(buttonBox.height) },
        };
      });
    }, ROWS, CELL, CARD_MARK);
  },

  // Whether each of the texts the settlement says below the plan lies
  // whole on the screen without scrolling.
  async saidOnScreen() {
    return (await dialog(this.page)).$$eval(TEXTS, (all) =>
      all.filter((e) => e.checkVisibility() && e.textContent.trim() !== '').map((e) => {
        const box = e.getBoundingClientRect();
        return box.left >= -0.5 && box.top >= -0.5 && box.right <= innerWidth + 0.5 && box.bottom <= innerHeight + 0.5;
      }));
  },

  // Whether the plan scrolls sideways inside its box.
  async planScrollsSideways() {
    return (await plan(this.page)).evaluate((table) => table.parentElement.scrollWidth > table.parentElement.clientWidth + 1);
  },
};

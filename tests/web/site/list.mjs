// The group list: its rows as shown, their selection, and on a phone a
// card per group.
import { aria, find, trimAscii, until } from './page.mjs';

const LIST = aria('グループ一覧', 'grid');
const LIST_SHOWN = '[role="grid"][aria-label="グループ一覧"]';
const ROWS = 'tbody tr';
// The list's cells by what they show.
const CELL = { name: '.ts-col-name', balance: '.ts-col-balance', ratio: '.ts-col-ratio', advance: '.ts-col-advance', share: '.ts-col-share' };
const EMPTY_LIST = '.ts-list-empty';

export const list = {
  // The list: one array of cell texts per group, as shown.
  async rows() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    const rows = await list.$$eval(ROWS, (trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
    return rows.map((row) => row.map(trimAscii));
  },

  async waitRowCount(count) {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    await until(this.page, (l, s, n) => l.querySelectorAll(s).length === n, [list, ROWS, count], async () =>
      `the list shows ${(await this.rows()).length} groups, not ${count}`);
  },

  // Waits until cell `column` of row `row` reads `text`.
  async waitCell(row, column, text) {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    await until(this.page, (l, s, r, c, v) => l.querySelectorAll(s)[r]?.cells[c]?.textContent.trim() === v, [list, ROWS, row, column, text],
      async () => `row ${row} reads ${JSON.stringify((await this.rows())[row])}, not ${text} in cell ${column}`);
  },

  // How many rows each of the list's sections (tbody) holds, in order.
  async listSections() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.$$eval('tbody', (sections) => sections.map((section) => section.rows.length));
  },

  async selectRow(index) {
    const row = (await (await find(this.page, LIST)).$$(ROWS))[index];
    await row.click();
    await until(this.page, (tr) => tr.getAttribute('aria-selected') === 'true', [row], () => `row ${index} not selected`);
  },

  // The rows' selection, one boolean per row.
  async selection() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.$$eval(ROWS, (trs) => trs.map((tr) => tr.getAttribute('aria-selected') === 'true'));
  },

  async focusList() {
    await (await find(this.page, LIST, 'the group list')).focus();
  },

  async listHasFocus() {
    return (await find(this.page, LIST, 'the group list')).evaluate((list) => list === document.activeElement);
  },

  async rightClickList() {
    await (await find(this.page, LIST, 'the group list')).click({ button: 'right' });
  },

  // Rests a finger on a row and runs `whilePressed` before lifting it.
  async longPress(index, whilePressed) {
    const box = await (await (await find(this.page, LIST)).$$(ROWS))[index].boundingBox();
    await this.page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
    try {
      await whilePressed();
    } finally {
      await this.page.touchscreen.touchEnd();
    }
  },

  // On a phone: a card per group.

  // 'cards' when the list shows its groups as cards (no column heads to
  // be seen), 'table' when it shows rows under column heads.
  async listLayout() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.evaluate((table) => (table.querySelector('thead').getBoundingClientRect().height > 1 ? 'table' : 'cards'));
  },

  // What a person sees of each group as it is scrolled into view: whether
  // its balance lies inside the screen, which of its texts are cut, over
  // how many lines its name runs, the balance's type size against the
  // largest of the other texts, the balance's colour and the word shown
  // beside the figures (null when none).
  async groupsAsSeen() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.evaluate((table, rows, cell) => {
      const size = (e) => parseFloat(getComputedStyle(e).fontSize);
      return [...table.querySelectorAll(rows)].map((row) => {
        const balance = row.querySelector(cell.balance);
        const name = row.querySelector(cell.name);
        balance.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        const box = balance.getBoundingClientRect();
        const after = getComputedStyle(balance, '::after').content;
        const others = [...row.cells].filter((c) => c !== balance);
        return {
          balanceInView: box.left >= -0.5 && box.right <= innerWidth + 0.5 && box.top >= -0.5 && box.bottom <= innerHeight + 0.5,
          cut: [...row.cells].filter((c) => c.scrollWidth > c.clientWidth + 1 || c.getBoundingClientRect().right > row.getBoundingClientRect().right + 0.5).map((c) => c.textContent),
          nameLines: Math.round(name.getBoundingClientRect().height / parseFloat(getComputedStyle(name).lineHeight)),
          balanceLarger: others.every((c) => size(balance) > size(c)),
          colour: getComputedStyle(balance).color,
          note: after === 'none' || after === 'normal' ? null : after.replace(/^"|"$/g, ''),
        };
      });
    }, ROWS, CELL);
  },

  // Whether anything inside the list scrolls sideways.
  async listScrollsSideways() {
    const list = await find(this.page, LIST_SHOWN, 'the group list');
    return list.evaluate((table) => table.parentElement.scrollWidth > table.parentElement.clientWidth + 1);
  },

  // What the list says while it has no groups, or null.
  async emptyListText() {
    return this.page.$$eval(EMPTY_LIST, (all) => all.find((e) => e.checkVisibility())?.textContent.trim() ?? null);
  },
};

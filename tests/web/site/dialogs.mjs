// The program's dialogs: the group settings and the total.
import { WINDOWS, aria, find, gone, until } from './page.mjs';

// The dialogs' fields: the tests' word for each, and its accessible name.
const FIELDS = {
  group: { name: '名称', people: '人数', ratio: '割合', advance: '負担額', addend: '加える額' },
  total: { total: '総額', unit: '区切額' },
};

// A dialog of the program: fields by the tests' words, buttons by name.
// The dialog and its fields stay the same elements while it is open.
export class Dialog {
  #handle = null;
  #fields = new Map();

  constructor(app, which) {
    Object.assign(this, { app, which, page: app.page, names: FIELDS[which] });
  }

  async #element() {
    this.#handle ??= await find(this.page, WINDOWS[this.which], `the ${this.which} dialog`);
    return this.#handle;
  }

  async #field(key) {
    if (!this.#fields.has(key)) {
      const name = this.names[key];
      this.#fields.set(key, await find(await this.#element(), `::-p-aria([name="${name}"])`, `the field ${name}`));
    }
    return this.#fields.get(key);
  }

  // The fields' texts, by the tests' words.
  async values() {
    const read = async (key) => [key, await (await this.#field(key)).evaluate((input) => input.value)];
    return Object.fromEntries(await Promise.all(Object.keys(this.names).map(read)));
  }

  // Types into the fields given, as a person does: select all, delete,
  // type (characters without a key, such as full-width digits, arrive as
  // text input).
  async fill(values) {
    for (const [key, text] of Object.entries(values)) {
      if (text !== undefined) {
        const field = await this.#field(key);
        await field.click();
        await field.evaluate((input) => input.select());
        await this.page.keyboard.press('Backspace');
        await this.page.keyboard.type(String(text));
      }
    }
  }

  async press(name) {
    await (await find(await this.#element(), aria(name, 'button'), `the button ${name}`)).click();
  }

  // OK and CANCEL wait until the dialog has closed, or a box has come up
  // over it (a refusal).
  async ok() {
    await this.#closeWith('OK');
  }

  async cancel() {
    await this.#closeWith('CANCEL');
  }

  async #closeWith(name) {
    const dialog = await this.#element();
    await this.press(name);
    const closedOrRefused = (d, box) => !d.isConnected || !d.open || document.querySelector(box) !== null;
    await until(this.page, closedOrRefused, [dialog, WINDOWS.box], () => `the ${this.which} dialog stays open`);
  }

  // Presses an arrow beside a field (people or ratio): 'up' or 'down'.
  async step(key, direction) {
    const arrows = await find(await this.#element(), aria(`${this.names[key]}の増減`, 'group'));
    await (await find(arrows, aria(direction === 'up' ? '増やす' : '減らす', 'button'))).click();
  }

  // Waits until a field reads `text`.
  async waitValue(key, text) {
    const field = await this.#field(key);
    await until(this.page, (input, v) => input.value === v, [field, text], async () =>
      `${key} reads ${JSON.stringify(await field.evaluate((input) => input.value))}, not ${text}`);
  }

  // The choices a field's list offers when its button opens it (the
  // unit's), read from the list the field names; the list is closed again.
  async choices(key) {
    const name = this.names[key];
    const dialog = await this.#element();
    await (await find(dialog, aria(`${name}の候補を表示`, 'button'))).click();
    const list = await find(dialog, aria(name, 'listbox'), `the choices of ${name}`);
    const shown = await list.evaluate((l) => (l.checkVisibility() ? [...l.querySelectorAll('[role="option"]')].map((o) => o.textContent) : null));
    await (await this.#field(key)).press('Escape');
    await until(this.page, (l) => !l.checkVisibility(), [list], () => `the choices of ${name} stay open`);
    return shown;
  }

  // Chooses `text` in a field's list of choices.
  async choose(key, text) {
    const name = this.names[key];
    const dialog = await this.#element();
    await (await find(dialog, aria(`${name}の候補を表示`, 'button'))).click();
    await (await find(dialog, aria(text, 'option'), `the choice ${text}`)).click();
  }

  // Whether the dialog's caption stands in a title bar like the main
  // window's.
  async hasTitleBar() {
    return (await this.#element()).evaluate((dialog) => {
      const bar = document.getElementById(dialog.getAttribute('aria-labelledby'))?.closest('header');
      const mainBar = document.querySelector('main header');
      return Boolean(bar && mainBar && bar.className === mainBar.className);
    });
  }

  async isOpen() {
    return (await this.page.$(WINDOWS[this.which])) !== null;
  }

  closed() {
    return gone(this.page, WINDOWS[this.which], `the ${this.which} dialog`);
  }
}

// The dialog `which` once it is up.
export async function dialogShown(app, which) {
  await find(app.page, WINDOWS[which], `the ${which} dialog`);
  return new Dialog(app, which);
}

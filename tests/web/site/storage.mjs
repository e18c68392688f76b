// Where the site keeps the party: the settings files it reads and keeps,
// its IndexedDB databases, and the storage under it as the browser lets it
// change.
import { WAIT, siteNames } from './page.mjs';

export const storage = {
  // Chooses `file` in the file picker that 設定ファイルを読み込む… opens.
  async importFile(file) {
    const [chooser] = await Promise.all([
      this.page.waitForFileChooser({ timeout: WAIT }),
      this.menu('設定ファイルを読み込む…'),
    ]);
    await chooser.accept([file]);
  },

  // The bytes of the settings file the site keeps for the party, or null:
  // in its IndexedDB database, object store and key (the site's names).
  // Opening the database never makes it, which would get in the program's
  // way.
  async storedSettings() {
    const bytes = await this.page.evaluate(
      ({ database, files, settings }) =>
        new Promise((resolve, reject) => {
          const open = indexedDB.open(database);
          open.onupgradeneeded = () => open.transaction.abort();
          open.onerror = (event) => event.preventDefault() ?? resolve(null);
          open.onsuccess = () => {
            const db = open.result;
            const store = db.objectStoreNames.contains(files) && db.transaction(files).objectStore(files);
            const get = store && store.get(settings);
            db.close();
            if (!get) {
              return resolve(null);
            }
            get.onerror = () => reject(get.error);
            get.onsuccess = () => {
              const contents = get.result;
              resolve(contents instanceof Uint8Array ? [...contents] : contents === undefined ? null : 'not bytes');
            };
          };
        }),
      this.names,
    );
    if (bytes === 'not bytes') {
      throw new Error('the stored settings file is not kept as bytes');
    }
    return bytes && Buffer.from(bytes);
  },

  // The site's storage under the page, as the browser lets it change.

  async storageSession() {
    this.cdp ??= await this.page.createCDPSession();
    return this.cdp;
  },

  origin(url = this.page.url()) {
    return new URL(url).origin;
  },

  // Holds the site's storage to `bytes`; databases opened from then on
  // cannot grow past it.
  async limitStorage(bytes, url) {
    await (await this.storageSession()).send('Storage.overrideQuotaForOrigin', { origin: this.origin(url), quotaSize: bytes });
  },

  async unlimitStorage() {
    await (await this.storageSession()).send('Storage.overrideQuotaForOrigin', { origin: this.origin() });
  },

  // What clearing the site's data in the browser's settings does, with the
  // page open.
  async clearSiteData() {
    await (await this.storageSession()).send('Storage.clearDataForOrigin', { origin: this.origin(), storageTypes: 'all' });
  },

  // The names of the site's IndexedDB databases.
  databases() {
    return this.page.evaluate(async () => (await indexedDB.databases()).map((d) => d.name).sort());
  },
};


// Puts a profile of the previous version of the site into the browser
// before the site opens: emscripten's IDBFS database as recorded in
// `profile` (its version, object stores with their indexes, and records
// whose contents are bytes and timestamps dates). The page it uses runs no
// program (the manifest of the site is opened).
export async function writeLegacyStore(context, url, profile) {
  const page = await context.newPage();
  try {
    await page.goto(new URL('manifest.webmanifest', url).href);
    await page.evaluate(
      (recorded, name) =>
        new Promise((resolve, reject) => {
          const open = indexedDB.open(name, recorded.version);
          open.onupgradeneeded = () => {
            for (const store of recorded.stores) {
              const made = open.result.createObjectStore(store.name, { keyPath: store.keyPath, autoIncrement: store.autoIncrement });
              for (const index of store.indexes) {
                made.createIndex(index.name, index.keyPath, { unique: index.unique });
              }
            }
          };
          open.onerror = () => reject(open.error);
          open.onsuccess = () => {
            const db = open.result;
            const store = recorded.stores[0].name;
            const tx = db.transaction(store, 'readwrite');
            for (const r of recorded.records) {
              tx.objectStore(store).put({ timestamp: new Date(r.timestamp), mode: r.mode, contents: new Uint8Array(r.contents) }, r.key);
            }
            tx.oncomplete = () => {
              db.close();
              resolve();
            };
            tx.onabort = () => reject(tx.error);
          };
        }),
      profile,
      (await siteNames(url)).earlierDatabase,
    );
  } finally {
    await page.close();
  }
}

// Starting headless Chromium for the browser tests and the benchmark, and
// the page helpers both use.
import puppeteer from 'puppeteer-core';
import { mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';

export const CHROME_ARGS = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-dev-shm-usage',
  '--disable-quic',
  '--no-first-run',
  '--no-default-browser-check',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--disable-features=Translate,MediaRouter',
];

// Launches Chromium with a profile of its own, removed again by close().
export async function launchBrowser() {
  const profile = await mkdtemp(path.join(os.tmpdir(), 'ts-web-profile-'));
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: process.env.CHROME_PATH || '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      args: CHROME_ARGS,
      protocolTimeout: 60_000,
    });
  } catch (error) {
    await rm(profile, { recursive: true, force: true });
    throw error;
  }
  return {
    browser,
    async close() {
      try {
        await browser.close();
      } finally {
        await rm(profile, { recursive: true, force: true, maxRetries: 3 });
      }
    },
  };
}

export function waitReady(page, timeout = 15_000) {
  return page.waitForFunction(() => document.body?.dataset.ready === '1', { timeout });
}

// Everything the site keeps of the party: the settings file's bytes in the
// IndexedDB store "files" of the database "tally-share". Null while nothing
// is stored. Opening never creates the database, which would get in the
// program's way.
export function readStoredFile(page) {
  return page.evaluate(
    () =>
      new Promise((resolve, reject) => {
        const request = indexedDB.open('tally-share');
        request.onupgradeneeded = () => request.transaction.abort();
        request.onerror = (event) => {
          event.preventDefault();
          resolve(null);
        };
        request.onblocked = () => reject(new Error('opening IndexedDB "tally-share" is blocked'));
        request.onsuccess = () => {
          const db = request.result;
          if (!db.objectStoreNames.contains('files')) {
            db.close();
            resolve(null);
            return;
          }
          const get = db.transaction('files', 'readonly').objectStore('files').get('ts.cfg');
          get.onerror = () => {
            db.close();
            reject(get.error);
          };
          get.onsuccess = () => {
            db.close();
            const value = get.result;
            if (value === undefined) {
              resolve(null);
              return;
            }
            resolve({
              bytes: value instanceof Uint8Array ? Array.from(value) : null,
              contentsType: Object.prototype.toString.call(value),
            });
          };
        };
      }),
  );
}

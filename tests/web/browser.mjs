// Starting headless Chromium for the browser tests and the benchmarks.
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

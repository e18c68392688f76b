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

// Launches Chromium with a profile of its own, removed again by close();
// `args` are Chromium's switches beside the usual ones.
export async function launchBrowser({ args = [] } = {}) {
  const profile = await mkdtemp(path.join(os.tmpdir(), 'ts-web-profile-'));
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: process.env.CHROME_PATH || '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      args: [...CHROME_ARGS, ...args],
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

// Chromium on the profile folder `profile`, kept when it ends, in a process
// group of its own: kill() ends the whole group at once with SIGKILL, as a
// crash or a phone's task killer does, with no chance to write anything.
export async function launchKillable(profile) {
  const { spawn } = await import('node:child_process');
  const child = spawn(
    process.env.CHROME_PATH || '/usr/bin/chromium',
    [...CHROME_ARGS, '--headless=new', '--hide-scrollbars', '--mute-audio', `--user-data-dir=${profile}`, '--remote-debugging-port=0', 'about:blank'],
    { detached: true, stdio: ['ignore', 'ignore', 'pipe'] },
  );
  const exited = new Promise((resolve) => child.once('exit', resolve));
  const endpoint = await new Promise((resolve, reject) => {
    let seen = '';
    const timer = setTimeout(() => reject(new Error(`Chromium said no DevTools address: ${seen.slice(-500)}`)), 30_000);
    child.stderr.on('data', (chunk) => {
      seen += chunk;
      const match = /DevTools listening on (ws:\/\/\S+)/.exec(seen);
      if (match) {
        clearTimeout(timer);
        resolve(match[1]);
      }
    });
    child.once('exit', (code) => reject(new Error(`Chromium ended (${code}) before it listened: ${seen.slice(-500)}`)));
  });
  child.stderr.resume();
  const browser = await puppeteer.connect({ browserWSEndpoint: endpoint, protocolTimeout: 60_000, defaultViewport: null });
  return {
    browser,
    async kill() {
      browser.disconnect().catch(() => {});
      try {
        process.kill(-child.pid, 'SIGKILL');
      } catch {
        // gone already
      }
      await exited;
    },
  };
}

// What the web benchmarks start from: a party put into the site's storage
// before the page opens, as the program itself would have stored it.

// The settings file of a party (records as the program writes them, each
// line followed by a zero unit, UTF-16LE), as an array of bytes.
export function settingsFile({ total, unit, groups }) {
  const lines = ['@TALLYSHARE/CONFIG,1.00', `PEOPLE,"FIRST",${total},${unit},2026/12/8`];
  for (const { name, people, ratio, advance } of groups) {
    lines.push(`GROUP,"${name}",${people},${ratio},${advance}`);
  }
  return [...Buffer.from(lines.map((line) => `${line}\n\0`).join(''), 'utf16le')];
}

// Runs in a page of the site's origin: stores `bytes` where the site keeps
// its settings file (its IndexedDB database, object store and key: `names`,
// the site's names.json).
export function seed(bytes, { database, files, settings }) {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(database, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(files);
    request.onerror = () => reject(request.error);
    request.onsuccess = () => {
      const db = request.result;
      const tx = db.transaction(files, 'readwrite');
      tx.objectStore(files).put(new Uint8Array(bytes), settings);
      tx.oncomplete = () => {
        db.close();
        resolve();
      };
      tx.onabort = () => reject(tx.error);
    };
  });
}

// The typical party of the benchmarks, as the list shows it: two groups.
export const TYPICAL_ROWS = [
  ['幹事チーム', '2人', '100%', '3500円', '3000円', '0円\u3000\u3000'],
  ['ゲスト 田中', '3人', '90%', '1000円', '3000円', '2000円払う'],
];

export function typicalParty() {
  const groups = TYPICAL_ROWS.map((row) => ({
    name: row[0],
    people: parseInt(row[1], 10),
    ratio: parseInt(row[2], 10),
    advance: parseInt(row[3], 10),
  }));
  return settingsFile({ total: 12345, unit: 1000, groups });
}

export function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

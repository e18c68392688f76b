// A small static file server for the web edition's site folder, used by the
// browser tests and the benchmark, and by hand:
//
//   node tests/web/server.mjs <dir> [port]
//
// It listens on 127.0.0.1 only. Open http://localhost:PORT/ rather than the
// address: service workers run only on a secure origin, and localhost is one.
import { createServer } from 'node:http';
import { createReadStream } from 'node:fs';
import { stat, realpath } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.css': 'text/css; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.json': 'application/json',
  '.ico': 'image/x-icon',
  '.txt': 'text/plain; charset=utf-8',
  '.cfg': 'application/octet-stream',
};

function refuse(response, status, text) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8', 'Cache-Control': 'no-cache' });
  response.end(`${text}\n`);
}

// Maps a request's path to a file inside root, or null when the path is
// malformed or leads outside it (through "..", an encoded separator or a
// symbolic link).
async function resolveFile(root, requestUrl) {
  let pathname;
  try {
    pathname = decodeURIComponent(new URL(requestUrl, 'http://localhost').pathname);
  } catch {
    return null;
  }
  if (pathname.includes('\0') || pathname.includes('\\')) {
    return null;
  }
  let file = path.resolve(root, `.${pathname}`);
  if (file !== root && !file.startsWith(root + path.sep)) {
    return null;
  }
  let info;
  try {
    info = await stat(file);
    if (info.isDirectory()) {
      file = path.join(file, 'index.html');
      info = await stat(file);
    }
    const real = await realpath(file);
    if (!real.startsWith(root + path.sep)) {
      return null;
    }
  } catch {
    return null;
  }
  return info.isFile() ? { file, size: info.size } : null;
}

export async function startServer(dir, port = 8080) {
  const root = await realpath(path.resolve(dir));
  const sockets = new Set();
  const server = createServer(async (request, response) => {
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      response.setHeader('Allow', 'GET, HEAD');
      refuse(response, 405, 'method not allowed');
      return;
    }
    const found = await resolveFile(root, request.url);
    if (found === null) {
      refuse(response, 404, 'not found');
      return;
    }
    const type = TYPES[path.extname(found.file).toLowerCase()] ?? 'application/octet-stream';
    response.writeHead(200, {
      'Content-Type': type,
      'Content-Length': found.size,
      'Cache-Control': 'no-cache',
      'X-Content-Type-Options': 'nosniff',
    });
    if (request.method === 'HEAD') {
      response.end();
      return;
    }
    const stream = createReadStream(found.file);
    stream.on('error', () => response.destroy());
    stream.pipe(response);
  });
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', resolve);
  });
  return {
    port: server.address().port,
    // Stops listening and drops kept-alive connections, so that a page
    // reloading afterwards really finds no server.
    close() {
      return new Promise((resolve) => {
        server.close(() => resolve());
        for (const socket of sockets) {
          socket.destroy();
        }
      });
    },
  };
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [dir, portText] = process.argv.slice(2);
  if (!dir) {
    console.error('usage: node tests/web/server.mjs <dir> [port]');
    process.exit(2);
  }
  const port = portText === undefined ? 8080 : Number(portText);
  if (!Number.isInteger(port) || port < 0 || port > 65535) {
    console.error(`not a port: ${portText}`);
    process.exit(2);
  }
  try {
    const server = await startServer(dir, port);
    console.log(`serving ${path.resolve(dir)} at http://localhost:${server.port}/`);
    const stop = () => server.close().then(() => process.exit(0));
    process.on('SIGINT', stop);
    process.on('SIGTERM', stop);
  } catch (error) {
    console.error(`cannot serve ${dir}: ${error.message}`);
    process.exit(1);
  }
}

// The browser half of links to this site (web_link.cpp): the data of a
// link compressed and inflated with the browser's own deflate, the page's
// fragment, and the dialog that shows a link with its QR code. The QR
// encoder is Debian's qrcode-generator, copied into the site at build time
// and loaded only when the dialog first opens. (Part of the page script;
// see web_window_system.js.)

(function (web) {
  'use strict';

  // The encoder's file in the site (app/web/make_site.cmake puts it there).
  var QR_SCRIPT = 'qrcode-generator.js';
  // The empty border a reader needs around a code, in modules.
  var QUIET_ZONE = 4;
  // No code holds more than this many bytes; a longer link is not tried.
  var MOST_A_CODE_HOLDS = 2953;
  var SVG = 'http://www.w3.org/2000/svg';

  function noop() {}

  // Resolves with all of `stream`'s bytes, at most `limit` of them (the
  // reading stops there); rejects when the stream fails.
  function readAll(stream, limit) {
    var reader = stream.getReader();
    var chunks = [];
    var total = 0;
    function joined() {
      var out = new Uint8Array(Math.min(total, limit));
      var at = 0;
      for (var i = 0; i < chunks.length && at < out.length; ++i) {
        var part = chunks[i].subarray(0, out.length - at);
        out.set(part, at);
        at += part.length;
      }
      return out;
    }
    function pump() {
      return reader.read().then(function (step) {
        if (step.done) {
          return joined();
        }
        chunks.push(step.value);
        total += step.value.length;
        if (total >= limit) {
          reader.cancel().catch(noop);
          return joined();
        }
        return pump();
      });
    }
    return pump();
  }

  // `bytes` through a (de)compression stream of `format`; null when the
  // browser has none or the data does not go through.
  function transform(Stream, bytes, limit) {
    if (typeof Stream !== 'function') {
      return Promise.resolve(null);
    }
    try {
      // 'deflate' is zlib's format: its Adler-32 checksum makes a link that
      // was cut or altered fail to inflate rather than show another party.
      var stream = new Blob([bytes]).stream().pipeThrough(new Stream('deflate'));
      return readAll(stream, limit).catch(function () { return null; });
    } catch (e) {
      return Promise.resolve(null);
    }
  }

  web.deflate = function (bytes) {
    return transform(window.CompressionStream, bytes, Infinity);
  };

  // Resolves with at most `limit` bytes of the inflated data, or null.
  web.inflate = function (bytes, limit) {
    return transform(window.DecompressionStream, bytes, limit);
  };

  // Copies the page's fragment (without '#') to the program as UTF-8, at
  // most `capacity` bytes of it; the count.
  web.pageFragment = function (out, capacity) {
    var hash = location.hash;
    if (hash.length <= 1) {
      return 0;
    }
    var bytes = new TextEncoder().encode(hash.slice(1, 1 + capacity));
    var count = Math.min(bytes.length, capacity);
    HEAPU8.set(bytes.subarray(0, count), out);
    return count;
  };

  web.forgetFragment = function () {
    try {
      history.replaceState(history.state, '', location.pathname + location.search);
    } catch (e) {
      // The address keeps its link; a reload shows the shared party again.
    }
  };

  // A link opened in a tab of this site that is already running changes
  // only the fragment, which reloads nothing: the page starts again with it.
  if (typeof window !== 'undefined' && window.addEventListener) {
    window.addEventListener('hashchange', function () {
      if (location.hash.length > 1) {
        location.reload();
      }
    });
  }

  var encoder = null;

  // Resolves with the QR encoder, or null when it cannot be loaded.
  function loadEncoder() {
    if (typeof window.qrcode === 'function') {
      return Promise.resolve(window.qrcode);
    }
    encoder = encoder || new Promise(function (resolve) {
      var script = document.createElement('script');
      script.src = QR_SCRIPT;
      script.onload = function () {
        resolve(typeof window.qrcode === 'function' ? window.qrcode : null);
      };
      script.onerror = function () {
        encoder = null;  // tried again the next time
        script.remove();
        resolve(null);
      };
      document.head.appendChild(script);
    });
    return encoder;
  }

  // The QR code of `text` (error correction M, the smallest version that
  // holds it), or null when it needs a version above `maxVersion`.
  function encode(factory, text, maxVersion) {
    if (text.length > MOST_A_CODE_HOLDS) {
      return null;
    }
    var code = factory(0, 'M');
    try {
      code.addData(text, 'Byte');
      code.make();
    } catch (e) {
      return null;
    }
    return code.getModuleCount() <= 17 + 4 * maxVersion ? code : null;
  }

  // The code as an SVG picture: dark modules on white, with the quiet
  // zone, one path of horizontal runs, scaled by the style sheet.
  function drawCode(code, name) {
    var count = code.getModuleCount();
    var size = count + 2 * QUIET_ZONE;
    var svg = document.createElementNS(SVG, 'svg');
    svg.setAttribute('viewBox', '0 0 ' + size + ' ' + size);
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', name);
    svg.setAttribute('shape-rendering', 'crispEdges');
    var paper = document.createElementNS(SVG, 'rect');
    paper.setAttribute('width', String(size));
    paper.setAttribute('height', String(size));
    paper.setAttribute('fill', '#fff');
    svg.appendChild(paper);
    var runs = [];
    for (var row = 0; row < count; ++row) {
      for (var col = 0; col < count; ) {
        if (!code.isDark(row, col)) {
          ++col;
          continue;
        }
        var start = col;
        while (col < count && code.isDark(row, col)) {
          ++col;
        }
        runs.push('M' + (start + QUIET_ZONE) + ' ' + (row + QUIET_ZONE) + 'h' + (col - start) +
                  'v1h-' + (col - start) + 'z');
      }
    }
    var ink = document.createElementNS(SVG, 'path');
    ink.setAttribute('d', runs.join(''));
    ink.setAttribute('fill', '#000');
    svg.appendChild(ink);
    return svg;
  }

  // The link dialog, with the program's texts (TSText) and a code of at
  // most version TSConst.MAX_QR_VERSION. Resolves once it is closed.
  web.showLink = function (link) {
    var T = TSText;
    var box = web.el('dialog', 'ts-window ts-link-window');
    var header = web.el('header', 'ts-titlebar');
    var title = web.el('h2', 'ts-caption', T.LINK_CAPTION);
    title.id = web.nextId('caption');
    box.setAttribute('aria-labelledby', title.id);
    var tools = web.el('div', 'ts-tools');
    var close = web.el('button', 'ts-button ts-close', '\u00D7');
    close.type = 'button';
    close.setAttribute('aria-label', T.CLOSE);
    tools.appendChild(close);
    header.appendChild(title);
    header.appendChild(tools);
    box.appendChild(header);

    var body = web.el('div', 'ts-link-body');
    var note = web.el('p', 'ts-link-note', T.LINK_HINT);
    note.id = web.nextId('note');
    box.setAttribute('aria-describedby', note.id);
    var picture = web.el('div', 'ts-qr');
    picture.setAttribute('aria-busy', 'true');
    var address = web.el('a', 'ts-link-address', link);
    address.href = link;
    address.target = '_blank';
    address.rel = 'noopener';
    var row = web.el('div', 'ts-buttons');
    var copy = web.el('button', 'ts-button', T.COPY_LINK);
    copy.type = 'button';
    row.appendChild(copy);
    var status = web.el('p', 'ts-link-status');
    status.setAttribute('role', 'status');
    body.appendChild(note);
    body.appendChild(picture);
    body.appendChild(address);
    body.appendChild(row);
    body.appendChild(status);
    box.appendChild(body);
    document.getElementById('ts-app').appendChild(box);

    return new Promise(function (resolve) {
      var done = false;
      function finish() {
        if (done) {
          return;
        }
        done = true;
        delete box.dataset.open;
        box.close();
        box.remove();
        resolve();
      }
      close.addEventListener('click', finish);
      copy.addEventListener('click', function () {
        status.textContent = '';
        web.copyText(link).then(function (ok) {
          status.textContent = ok ? T.LINK_COPIED : T.COPY_FAILED;
        });
      });
      box.addEventListener('keydown', function (e) {
        if (e.key === 'Escape') {
          e.preventDefault();
          finish();
        }
      });
      web.keepOpen(box, finish);
      box.dataset.open = '1';
      box.showModal();
      copy.focus();

      loadEncoder().then(function (factory) {
        var code = factory ? encode(factory, link, TSConst.MAX_QR_VERSION) : null;
        picture.removeAttribute('aria-busy');
        if (code) {
          picture.appendChild(drawCode(code, T.QR_CODE));
        } else {
          // The link alone: too long for a code that reads across a table,
          // or (offline before the encoder was ever loaded) no encoder.
          picture.remove();
          note.textContent = factory ? T.LINK_TOO_DENSE : T.QR_UNAVAILABLE;
        }
      });
    });
  };
})(TSWeb);

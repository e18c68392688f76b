// The browser half of the web window system, part one: what every part of
// the page shares (the open windows, the event queue each window hands to
// its message loop in the program, texts across the program's memory) and
// the page's own services: the clipboard, the share sheet, downloads and
// the file picker. The program calls in here through its js_* functions;
// the page never calls the program, it only resolves the promise a loop is
// waiting on.
//
// Joined after the generated constants (TSConst, TSText) and before the
// other parts (web_dialog.js, web_controls.js, web_choices.js,
// web_list_view.js, web_list_selection.js, web_message_box.js, web_link.js)
// into the script the program is built with (--pre-js), so `Module`, `FS`
// and the heap views are the program's.

// The program's code as the page's first script started compiling it
// (index.html); without that, emscripten fetches and compiles it itself.
if (typeof window !== 'undefined' && window.tsEarly && window.tsEarly.wasm) {
    Module['instantiateWasm'] = function(imports, receive) {
        window.tsEarly.wasm.then(function(module) {
            return WebAssembly.instantiate(module, imports).then(function(instance) {
                receive(instance, module);
            });
        }, function() {
            // Compiled nowhere: the usual road, which reports its own failure.
            WebAssembly.instantiateStreaming(fetch('tally-share.wasm'), imports).then(function(result) {
                receive(result.instance, result.module);
            });
        });
        return {};
    };
}

var TSWeb = (function() {
    'use strict';

    var windows = [];  // by handle: {element, controls, queue, waiter, ...}
    var uniqueId = 0;

    // Puts an element wherever the user is: in the open modal dialog, else
    // in the page.
    function besideTheUser(node) {
        (document.querySelector('dialog[open]') || document.body).appendChild(node);
    }

    var web = {
        windows: windows,

        // The text of `length` units at `pointer` in the program's memory.
        text: function(pointer, length) {
            var units = HEAPU16.subarray(pointer >> 1, (pointer >> 1) + length);
            var out = '';
            for (var i = 0; i < units.length; i += 4096) {
                out += String.fromCharCode.apply(null, units.subarray(i, i + 4096));
            }
            return out;
        },

        // Copies at most `capacity` units of `value` to the program; the count.
        copyOut: function(value, pointer, capacity) {
            var count = Math.min(value.length, capacity);
            for (var i = 0; i < count; ++i) {
                HEAPU16[(pointer >> 1) + i] = value.charCodeAt(i);
            }
            return count;
        },

        // Sets an element's text, unless it has it already (a text set
        // again is laid out again).
        setText: function(node, value) {
            if (node.textContent !== value) {
                node.textContent = value;
            }
        },

        nextId: function(prefix) {
            uniqueId += 1;
            return 'ts-' + prefix + '-' + uniqueId;
        },

        el: function(tag, className, textContent) {
            var node = document.createElement(tag);
            if (className) {
                node.className = className;
            }
            if (textContent !== undefined) {
                node.textContent = textContent;
            }
            return node;
        },

        // Hands event `kind` about control `id` to the window's loop: at once
        // when it waits, else queued.
        post: function(win, kind, id) {
            if (win.closed) {
                return;
            }
            var unit = TSConst.EVENT_KIND_UNIT;
            var event = kind * unit + ((id % unit) + unit) % unit;
            if (win.waiter) {
                var resolve = win.waiter;
                win.waiter = null;
                resolve(event);
            } else {
                win.queue.push(event);
            }
        },

        // The next event of window `handle`, when there is one.
        nextEvent: function(handle) {
            var win = windows[handle];
            if (win.isMain && document.body.dataset.ready !== '1') {
                document.body.dataset.ready = '1';
            }
            if (win.queue.length > 0) {
                return Promise.resolve(win.queue.shift());
            }
            return new Promise(function(resolve) { win.waiter = resolve; });
        },

        // Resolves with 1 when the clipboard took `value`, else 0.
        copyText: function(value) {
            function fallback() {
                var area = web.el('textarea');
                area.value = value;
                area.setAttribute('readonly', '');
                area.className = 'ts-offscreen';
                besideTheUser(area);
                area.select();
                var done = false;
                try {
                    done = document.execCommand('copy');
                } catch (e) {
                    done = false;
                }
                area.remove();
                return done;
            }
            if (navigator.clipboard && navigator.clipboard.writeText) {
                return navigator.clipboard.writeText(value).then(
                    function() { return 1; }, function() { return fallback() ? 1 : 0; });
            }
            return Promise.resolve(fallback() ? 1 : 0);
        },

        shareText: function(value) {
            if (navigator.share) {
                // A share sheet the user closes is no failure.
                return navigator.share({text: value})
                    .then(
                        function() { return 1; },
                        function(
                            e) { return e && e.name === 'AbortError' ? 1 : web.copyText(value); });
            }
            return web.copyText(value);
        },

        download: function(name, type, bytes) {
            try {
                var blob = new Blob([bytes], {type: type});
                var link = web.el('a');
                link.href = URL.createObjectURL(blob);
                link.download = name;
                link.className = 'ts-offscreen';
                document.body.appendChild(link);
                link.click();
                link.remove();
                setTimeout(function() { URL.revokeObjectURL(link.href); }, 60000);
                return 1;
            } catch (e) {
                return 0;
            }
        },

        // The file picker: resolves with at most `limit` bytes of the chosen
        // file (none when it could not be read), or null when none was
        // chosen.
        pickFile: function(accept, limit) {
            var input = web.el('input', 'ts-offscreen');
            input.type = 'file';
            input.accept = accept;
            besideTheUser(input);
            return new Promise(function(resolve) {
                var settled = false;
                function finish(path) {
                    if (!settled) {
                        settled = true;
                        input.remove();
                        resolve(path);
                    }
                }
                input.addEventListener('cancel', function() { finish(null); });
                input.addEventListener('change', function() {
                    var file = input.files && input.files[0];
                    if (!file) {
                        finish(null);
                        return;
                    }
                    file.slice(0, limit).arrayBuffer().then(
                        function(buffer) { finish(new Uint8Array(buffer)); },
                        function() { finish(new Uint8Array(0)); });
                });
                input.click();
            });
        },

        wasmMemoryBytes: function() { return HEAPU8.length; }
    };
    return web;
})();

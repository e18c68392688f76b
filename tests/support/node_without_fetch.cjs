// Loaded into node before the tests built with emscripten: its JavaScript
// takes a global fetch for a browser's and would fetch the .wasm instead of
// reading it.
delete globalThis.fetch;

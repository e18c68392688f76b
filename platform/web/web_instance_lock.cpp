#include "platform/web/web_instance_lock.h"

#include <emscripten.h>

#include "platform/web/web_text.h"

namespace ts::platform {

namespace {

// clang-format off
EM_JS(void, js_listen_for_raise, (), {
    if (typeof BroadcastChannel === 'undefined') {
        return;
    }
    var channel = new BroadcastChannel(TSNames.LOCK);
    channel.onmessage = function (e) {
        if (e.data === 'raise') {
            window.focus();
        }
    };
});
// The lock is held until the tab goes: the request's callback never settles.
EM_ASYNC_JS(int, js_try_lock, (), {
    // The page's first script asked already (index.html), to overlap the
    // program's download; its answer is this one.
    var early = window.tsEarly;
    if (early && early.lock) {
        var asked = early.lock;
        early.lock = null;
        return (await asked) ? 1 : 0;
    }
    if (!navigator.locks) {
        return 1;
    }
    return await new Promise(function (resolve) {
        navigator.locks.request(TSNames.LOCK, {ifAvailable: true}, function (lock) {
            resolve(lock ? 1 : 0);
            return lock ? new Promise(function () {}) : undefined;
        });
    });
});
EM_JS(void, js_ask_to_raise, (), {
    if (typeof BroadcastChannel !== 'undefined') {
        var channel = new BroadcastChannel(TSNames.LOCK);
        channel.postMessage('raise');
        channel.close();
    }
});
EM_ASYNC_JS(void, js_wait_for_lock, (const char16_t* notice, int length), {
    var section = document.getElementById('ts-elsewhere');
    section.textContent = TSWeb.text(notice, length);
    section.hidden = false;
    // The main window's first picture would look usable: out of the way.
    var skeleton = document.getElementById('ts-skeleton');
    if (skeleton) {
        skeleton.hidden = true;
    }
    document.body.dataset.waiting = '1';
    await new Promise(function (resolve) {
        navigator.locks.request(TSNames.LOCK, function () {
            resolve();
            return new Promise(function () {});
        });
    });
    section.hidden = true;
    delete document.body.dataset.waiting;
});
// clang-format on

}  // namespace

bool WebInstanceLock::acquire() {
    if (!held_) {
        held_ = js_try_lock() != 0;
        if (held_) {
            js_listen_for_raise();
        }
    }
    return held_;
}

void WebInstanceLock::activateRunningCopy() {
    js_ask_to_raise();
}

void WebInstanceLock::waitForTurn(std::u16string_view notice) {
    if (held_) {
        return;
    }
    const JsText text = toJs(notice);
    js_wait_for_lock(text.data, text.length);
    held_ = true;
    js_listen_for_raise();
}

}  // namespace ts::platform

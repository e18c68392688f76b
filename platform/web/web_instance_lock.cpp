#include "platform/web/web_instance_lock.h"

#include <emscripten.h>

#include "platform/web/web_text.h"

namespace ts::platform {

namespace {

// clang-format off
EM_JS(void, jsListenForRaise, (), {
    if (typeof BroadcastChannel === 'undefined') {
        return;
    }
    var channel = new BroadcastChannel('TALLY-SHARE');
    channel.onmessage = function (e) {
        if (e.data === 'raise') {
            window.focus();
        }
    };
});
// The lock is held until the tab goes: the request's callback never settles.
EM_ASYNC_JS(int, jsTryLock, (), {
    if (!navigator.locks) {
        return 1;
    }
    return await new Promise(function (resolve) {
        navigator.locks.request('TALLY-SHARE', {ifAvailable: true}, function (lock) {
            resolve(lock ? 1 : 0);
            return lock ? new Promise(function () {}) : undefined;
        });
    });
});
EM_JS(void, jsAskToRaise, (), {
    if (typeof BroadcastChannel !== 'undefined') {
        var channel = new BroadcastChannel('TALLY-SHARE');
        channel.postMessage('raise');
        channel.close();
    }
});
EM_ASYNC_JS(void, jsWaitForLock, (const char16_t* notice, int length), {
    var section = document.getElementById('ts-elsewhere');
    section.textContent = TSWeb.text(notice, length);
    section.hidden = false;
    document.body.dataset.waiting = '1';
    await new Promise(function (resolve) {
        navigator.locks.request('TALLY-SHARE', function () {
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
        held_ = jsTryLock() != 0;
        if (held_) {
            jsListenForRaise();
        }
    }
    return held_;
}

void WebInstanceLock::activateRunningCopy() {
    jsAskToRaise();
}

void WebInstanceLock::waitForTurn(std::u16string_view notice) {
    if (held_) {
        return;
    }
    const JsText text = toJs(notice);
    jsWaitForLock(text.data, text.length);
    held_ = true;
    jsListenForRaise();
}

}  // namespace ts::platform

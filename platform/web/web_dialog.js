// The browser half of the web window system: the windows. The main window
// is the page's <main>, every other one a modal <dialog>; keys become the
// program's commands and messages. (Part of the page script; see
// web_window_system.js.)

(function (web) {
  'use strict';

  var C = TSConst;

  function isTextField(target) {
    return target && (target.tagName === 'INPUT' || target.tagName === 'TEXTAREA');
  }

  // A modal <dialog> keeps Escape for itself: the cancel it would do is
  // turned into the program's command, and a dialog the browser closes
  // anyway is shown again until the program ends it.
  web.keepOpen = function (dialog, onEscape) {
    dialog.addEventListener('cancel', function (e) {
      e.preventDefault();
      onEscape();
    });
    dialog.addEventListener('close', function () {
      if (dialog.dataset.open === '1') {
        dialog.showModal();
      }
    });
  };

  function noticeLine() {
    var line = web.el('p', 'ts-notice');
    line.setAttribute('role', 'status');
    return line;
  }

  // The page's first picture of the main window (index.html) is made of
  // the very elements the program makes: the main window takes it over
  // instead of building a second one, so that nothing is made, laid out or
  // decoded twice. `win.unclaimed` holds what the program has not taken
  // (yet); showWindow removes what is left. Null without such a picture.
  function takeOverPicture(win, templateId) {
    var picture = document.getElementById('ts-skeleton');
    if (!picture || picture.dataset.templateId !== String(templateId)) {
      return null;
    }
    var parts = {
      header: picture.querySelector(':scope > .ts-titlebar'),
      title: picture.querySelector(':scope > .ts-titlebar > .ts-caption'),
      tools: picture.querySelector(':scope > .ts-titlebar > .ts-tools'),
      body: picture.querySelector(':scope > .ts-body')
    };
    if (!parts.header || !parts.title || !parts.tools || !parts.body) {
      return null;  // not a picture this script knows: showWindow removes it
    }
    picture.removeAttribute('id');
    parts.element = picture;
    win.unclaimed = Array.prototype.slice.call(parts.header.querySelectorAll(':scope > .ts-icon'))
                        .concat(Array.prototype.slice.call(parts.tools.children))
                        .concat(Array.prototype.slice.call(parts.body.children));
    return parts;
  }

  function newWindow(isMain) {
    var parts = {
      element: web.el(isMain ? 'main' : 'dialog', 'ts-window'),
      header: web.el('header', 'ts-titlebar'),
      title: web.el(isMain ? 'h1' : 'h2', 'ts-caption'),
      tools: web.el('div', 'ts-tools'),
      body: web.el('div', 'ts-body')
    };
    parts.header.appendChild(parts.title);
    parts.header.appendChild(parts.tools);
    parts.element.appendChild(parts.header);
    parts.element.appendChild(parts.body);
    parts.element.hidden = true;
    document.getElementById('ts-app').appendChild(parts.element);
    return parts;
  }

  // The element of the first picture that `selector` finds among the
  // children of `holder`, when it has the tag the program makes; it is then
  // the program's. Null otherwise.
  web.claim = function (win, holder, selector, tagName) {
    if (!win.unclaimed) {
      return null;
    }
    var node = holder.querySelector(':scope > ' + selector);
    var at = node ? win.unclaimed.indexOf(node) : -1;
    if (at < 0 || node.tagName !== tagName) {
      return null;
    }
    win.unclaimed.splice(at, 1);
    return node;
  };

  // A window for template `templateId`; its handle.
  web.openWindow = function (templateId, caption, isMain) {
    var win = {
      templateId: templateId, controls: [], queue: [], waiter: null, closed: false,
      isMain: !!isMain, arrowKeys: [], unclaimed: null
    };
    var handle = web.windows.length;
    web.windows.push(win);
    var parts = (isMain && takeOverPicture(win, templateId)) || newWindow(isMain);
    var element = parts.element;
    element.dataset.templateId = String(templateId);
    parts.title.textContent = caption;
    parts.title.id = web.nextId('caption');
    element.setAttribute('aria-labelledby', parts.title.id);
    if (isMain) {
      // Made empty with the window, so that screen readers follow it from
      // the start (a live region made with its text is not announced).
      win.notice = noticeLine();
      element.insertBefore(win.notice, parts.body);
    }
    win.element = element;
    win.titlebar = parts.header;
    win.body = parts.body;
    win.tools = parts.tools;
    var tools = parts.tools;

    element.addEventListener('keydown', function (e) {
      if (e.key === 'F1') {
        e.preventDefault();
        web.post(win, C.EVENT_HELP, 0);
        return;
      }
      if ((e.ctrlKey || e.metaKey) && !e.altKey && (e.key === 'c' || e.key === 'C')) {
        var selection = window.getSelection ? String(window.getSelection()) : '';
        if (!isTextField(e.target) && selection === '') {
          e.preventDefault();
          web.post(win, C.EVENT_COPY, 0);
        }
        return;
      }
      if (win.isMain) {
        return;  // the page has no close: Enter and Escape do nothing here
      }
      if (e.key === 'Escape') {
        e.preventDefault();
        web.post(win, C.EVENT_COMMAND, C.ID_CANCEL);
      } else if (e.key === 'Enter' && !e.isComposing && e.target.tagName !== 'BUTTON') {
        e.preventDefault();
        web.post(win, C.EVENT_COMMAND, C.ID_OK);
      }
    });
    if (!isMain) {
      web.keepOpen(element, function () { web.post(win, C.EVENT_COMMAND, C.ID_CANCEL); });
      // The close box of a dialog's title bar, which cancels as Escape does.
      var close = web.el('button', 'ts-button ts-close', '\u00D7');
      close.type = 'button';
      close.setAttribute('aria-label', TSText.CLOSE);
      close.addEventListener('click', function () { web.post(win, C.EVENT_COMMAND, C.ID_CANCEL); });
      tools.appendChild(close);
    }
    return handle;
  };

  // A line under the window's caption, announced as a status; an empty
  // text removes it.
  web.showNotice = function (handle, text) {
    var win = web.windows[handle];
    if (!win.notice) {
      win.notice = noticeLine();
      win.element.insertBefore(win.notice, win.body);
    }
    win.notice.textContent = text;
  };

  web.showControl = function (handle, index, shown) {
    var win = web.windows[handle];
    var control = win.controls[index];
    (control.box || control.element).hidden = !shown;
    web.showRowCommands(win, control.id, shown);
  };

  // A command beside the template's controls, in the title bar.
  web.addCommandButton = function (handle, id, label) {
    var win = web.windows[handle];
    var button = web.claim(win, win.tools, '[data-command="' + id + '"]', 'BUTTON') ||
                 web.el('button');
    button.className = 'ts-button ts-command';
    button.textContent = label;
    button.type = 'button';
    button.dataset.command = String(id);
    button.addEventListener('click', function () { web.post(win, C.EVENT_COMMAND, id); });
    win.tools.insertBefore(button, win.tools.firstChild);
  };

  // Words that say what control `index` shows, beside it where the
  // window's style sheet places them (the grid area of the control's place
  // and "-note") and read out with it.
  web.describeControl = function (handle, index, value) {
    var win = web.windows[handle];
    var control = win.controls[index];
    if (!control.description) {
      control.description = web.el('span', 'ts-description');
      control.description.id = web.nextId('description');
      control.description.style.gridArea = control.place + '-note';
      win.body.appendChild(control.description);
    }
    control.description.textContent = value;
    control.description.hidden = value === '';
    if (value) {
      control.element.setAttribute('aria-describedby', control.description.id);
    } else {
      control.element.removeAttribute('aria-describedby');
    }
  };

  web.showWindow = function (handle, firstStop) {
    var win = web.windows[handle];
    var element = win.element;
    if (win.unclaimed) {
      // What of the first picture the program did not take goes, and the
      // rest takes input.
      win.unclaimed.forEach(function (node) { node.remove(); });
      win.unclaimed = null;
      element.removeAttribute('inert');
      element.removeAttribute('aria-busy');
    }
    if (win.isMain) {
      // Another picture of it (a page script that did not know this one)
      // gives way.
      var picture = document.getElementById('ts-skeleton');
      if (picture) {
        picture.remove();
      }
    }
    element.hidden = false;
    if (win.isMain) {
      // A page has no focus when it opens: the first Tab finds the first
      // control, and nothing is laid out before the window is complete.
      document.title = win.element.querySelector('.ts-caption').textContent;
      return;
    }
    element.dataset.open = '1';
    element.showModal();
    var first = firstStop >= 0 ? win.controls[firstStop] : null;
    if (first) {
      (first.focusable || (first.buttons ? first.buttons[0] : first.element)).focus();
    }
  };

  web.closeWindow = function (handle) {
    var win = web.windows[handle];
    win.closed = true;
    if (win.waiter) {
      win.waiter(0);
      win.waiter = null;
    }
    var element = win.element;
    if (element.tagName === 'DIALOG') {
      delete element.dataset.open;
      if (element.open) {
        element.close();
      }
    }
    element.remove();
    web.windows[handle] = null;
  };
})(TSWeb);

// text_entry_web.cpp: text entry in a browser, through an invisible text field
// of the page's, so that a touch screen opens its on-screen keyboard while a
// player writes an answer. The game calls textEntryBegins and textEntryEnds
// (game/text_entry.h); the field is made at the first answer and lives as long
// as the page.
//
// The field is focused within the press on Done that begins the answer, and
// again at the end of every later touch while the answer is open (iOS opens
// the keyboard only within a user's gesture, which for a touch is its end;
// the player may have closed the keyboard meanwhile). Ending the answer takes
// the focus away, which closes the keyboard.
//
// What reaches the game is the difference between the field's text and the
// text it had when last looked at: a Backspace (8) for each character gone
// from its end, then each new character, as Latin-1. One rule covers typed
// text, a composition as it grows and when it is committed, an autocorrect
// replacement and deletion, and no character is sent twice. The field always
// begins with a space the game never sees, so that an on-screen keyboard's
// Backspace has something to delete even when the answer came from an
// attached keyboard, whose keys reach the game as keys
// (browser/browser_input.cpp) and never the field.
#include <emscripten/emscripten.h>

#include "browser/browser_input.h"
#include "game/text_entry.h"

// Called by the field's JavaScript with each code the game gets.
extern "C" EMSCRIPTEN_KEEPALIVE void quilloryTypeFromField(int code) {
    typeKey(static_cast<unsigned char>(code));
}

namespace {

// clang-format off
EM_JS(void, openTextField, (), {
    const BACKSPACE = 8;
    const FIRST_PRINTABLE = 0x20;
    const LAST_LATIN1 = 0xFF;
    const MARGIN = ' '; // the field's first character, never sent
    let entry = Module['textEntry'];
    if (!entry) {
        const field = document.createElement('textarea');
        field.id = 'text-entry';
        // The game types exactly what is pressed.
        const attributes = { 'autocomplete': 'off', 'autocorrect': 'off', 'autocapitalize': 'off',
                             'spellcheck': 'false', 'aria-hidden': 'true', 'tabindex': '-1' };
        for (const name in attributes) field.setAttribute(name, attributes[name]);
        // Invisible, out of the way of fingers and pencils (a pencil's
        // handwriting lands on editable elements under it), at the page's
        // top-right corner, away from the drawing; 16 px text keeps iOS from
        // zooming in on focus.
        field.style.cssText = 'position: fixed; top: 0; right: 0; width: 1px; height: 1px; ' +
            'padding: 0; border: 0; margin: 0; opacity: 0; resize: none; overflow: hidden; ' +
            'font-size: 16px; pointer-events: none; caret-color: transparent;';
        document.body.appendChild(field);
        entry = Module['textEntry'] = { field: field, seen: MARGIN, open: false };
        const printable = (character) => {
            const code = character.codePointAt(0);
            return code >= FIRST_PRINTABLE && code <= LAST_LATIN1;
        };
        const catchUp = () => {
            const before = Array.from(entry.seen);
            const now = Array.from(field.value);
            let same = 0;
            while (same < before.length && same < now.length && before[same] === now[same]) ++same;
            for (const gone of before.slice(same)) {
                if (printable(gone)) _quilloryTypeFromField(BACKSPACE);
            }
            for (const added of now.slice(same)) {
                if (printable(added)) _quilloryTypeFromField(added.codePointAt(0));
            }
            entry.seen = field.value;
            if (!entry.composing && !field.value.startsWith(MARGIN)) {
                field.value = entry.seen = MARGIN;
            }
        };
        field.addEventListener('compositionstart', () => { entry.composing = true; });
        field.addEventListener('compositionend', () => { entry.composing = false; catchUp(); });
        field.addEventListener('input', catchUp);
        Module['canvas'].addEventListener('touchend', () => {
            if (entry.open) field.focus({ preventScroll: true });
        });
    }
    entry.open = true;
    entry.composing = false;
    entry.field.value = entry.seen = MARGIN;
    entry.field.focus({ preventScroll: true });
});

EM_JS(void, closeTextField, (), {
    const entry = Module['textEntry'];
    if (entry) {
        entry.open = false;
        entry.field.blur();
    }
});
// clang-format on

} // namespace

void textEntryBegins() {
    openTextField();
}

void textEntryEnds() {
    closeTextField();
}

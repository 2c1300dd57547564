// The page's markup and layout from the window definitions: each control of a definition
// becomes one element at its designed place and size (a CSS pixel is a pixel of the
// definition), in the definition's order, which is the order the controls lie on one another
// and, for the main window, its tab order. The page's scripts bring the elements to life; the
// looks are in page.css.

const ESCAPES = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' };
const escape = (text) => String(text).replace(/[&<>"]/g, (c) => ESCAPES[c]);

/** What a picture shows, for those who cannot see it; a decorative picture says nothing. */
const PICTURE_TEXTS = {
    'formula.jpg': '',
    'apparatus.bmp': 'Установка: кольцевая катушка с током стоит в зелёной измерительной плоскости, '
        + 'две чёрные линии на плоскости пересекаются в её центре',
};

/** The element id of a control: the main window's keep their definition names. */
function elementId(window, control, isMain) {
    return isMain ? control.name : `${window.name}-${control.name}`;
}

/** Whether the keyboard stops at the control (it is one of the window's tab stops). */
function takesFocus(control) {
    return !['QLabel'].includes(control.kind);
}

function markup(window, control, isMain) {
    const id = escape(elementId(window, control, isMain));
    const text = escape(control.text ?? '');
    switch (control.kind) {
        case 'QPushButton':
            return `<button type="button" id="${id}" class="push-button">${text}</button>`;
        case 'QCheckBox':
            return `<label id="${id}" class="check-box"><input type="checkbox"${control.checked ? ' checked' : ''}>`
                + `<span>${text}</span></label>`;
        case 'QLabel':
            if (control.picture !== undefined) {
                if (!(control.picture in PICTURE_TEXTS))
                    throw new Error(`${control.name}: no text for the picture ${control.picture}`);
                return `<div id="${id}" class="picture"><img src="pictures/${escape(control.picture)}" `
                    + `alt="${escape(PICTURE_TEXTS[control.picture])}"></div>`;
            }
            return `<div id="${id}" class="label">${text}</div>`;
        case 'QTextEdit':
            if (!control.readOnly)
                throw new Error(`${control.name}: only a read-only text box is expected`);
            // Named by its window's caption, the text box being all the window says.
            return `<textarea id="${id}" class="text-box" readonly spellcheck="false" `
                + `aria-labelledby="${escape(window.name)}-caption">${text}</textarea>`;
        case 'velmora::PlotChart':
            return `<div id="${id}" class="plot"><svg id="${id}-picture" class="plot-picture" `
                + `width="${control.rect.width}" height="${control.rect.height}" `
                + `viewBox="0 0 ${control.rect.width} ${control.rect.height}" tabindex="0" role="img" `
                + `aria-label="Рисунок"></svg>`
                + control.children.map((c) => markup(window, c, isMain)).join('')
                + '</div>';
        case 'velmora::ProtocolBox':
            return `<div id="${id}" class="protocol-box"></div>`;
        case 'velmora::ReadoutView':
            return `<div id="${id}" class="readout-grid" role="grid" aria-label="Показания"></div>`;
        default:
            throw new Error(`${control.name}: the page has no element for ${control.kind}`);
    }
}

function placement(window, control, isMain) {
    const { x, y, width, height } = control.rect;
    return [`#${elementId(window, control, isMain)}{left:${x}px;top:${y}px;width:${width}px;height:${height}px}`,
        ...control.children.map((c) => placement(window, c, isMain))].join('\n');
}

/** The focusable controls in the order of the document, the plot's own included. */
function documentOrder(controls) {
    return controls.flatMap((c) => [...(takesFocus(c) ? [c.name] : []), ...documentOrder(c.children)]);
}

/**
 * The main window's designed area: its controls, and the rules that place them where the
 * viewport is at least as wide as the window (page.css lays them out in one column where it
 * is narrower).
 * @param {import('./ui-file.mjs').WindowDefinition} window
 */
export function mainWindowMarkup(window) {
    const order = documentOrder(window.controls);
    if (order.join() !== window.tabStops.join())
        throw new Error(`${window.name}: the definition's tab order ${window.tabStops.join()} `
            + `is not the order of its controls ${order.join()}`);
    return {
        html: `<main id="${window.name}" class="designed-area" aria-busy="true">`
            + window.controls.map((c) => markup(window, c, true)).join('\n') + '</main>',
        css: `@media (width >= ${window.size.width}px) {\n`
            + [`#${window.name}{--designed-width:${window.size.width}px;width:${window.size.width}px;height:${window.size.height}px}`,
                ...window.controls.map((c) => placement(window, c, true))].join('\n')
            + '\n}',
    };
}

/**
 * A side window: a frame with the program's icon, the caption and a close button over its
 * designed client area, hidden until the main window shows it. Its controls lie at their
 * designed places where the viewport is at least `mainWidth` px wide, as the main window's
 * do; on a narrower one page.css lets them flow within its width.
 * @param {import('./ui-file.mjs').WindowDefinition} window
 * @param {number} mainWidth
 */
export function sideWindowMarkup(window, mainWidth) {
    const name = window.name;
    return {
        html: `<section id="${name}" class="side-window" role="dialog" aria-labelledby="${name}-caption" hidden>`
            + `<div class="title-bar"><img class="title-icon" src="pictures/velmora.png" alt="">`
            + `<span id="${name}-caption" class="caption">${escape(window.caption)}</span>`
            + `<button type="button" class="close-button" aria-label="Закрыть" title="Закрыть"></button></div>`
            + `<div id="${name}-client" class="client" tabindex="-1">`
            + window.controls.map((c) => markup(window, c, false)).join('\n') + '</div></section>',
        css: `#${name}-client{--client-width:${window.size.width}px}\n@media (width >= ${mainWidth}px) {\n`
            + [`#${name}-client{width:${window.size.width}px;height:${window.size.height}px}`,
                ...window.controls.map((c) => placement(window, c, false))].join('\n')
            + '\n}',
    };
}

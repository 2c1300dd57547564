// Reads a window definition (resources/Unit*.ui, Qt Designer's XML) into plain objects: the
// window's name, caption and client size, and its controls with their class, place, size,
// texts and flags, in the order the definition lists them (which is also the order they lie
// on one another, later over earlier). The definitions are small and regular, so a small
// reader of elements, attributes and text serves; anything it does not expect stops the build.

/** @typedef {{ name: string, attributes: Record<string, string>, children: XmlElement[], text: string }} XmlElement */

const ENTITIES = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };

/** The text of XML character data with its entity and character references resolved. */
function unescape(text) {
    return text.replace(/&(#x[0-9a-fA-F]+|#[0-9]+|[a-z]+);/g, (whole, name) => {
        if (name.startsWith('#x'))
            return String.fromCodePoint(parseInt(name.slice(2), 16));
        if (name.startsWith('#'))
            return String.fromCodePoint(parseInt(name.slice(1), 10));
        if (!(name in ENTITIES))
            throw new Error(`unknown entity ${whole}`);
        return ENTITIES[name];
    });
}

/**
 * Parses the XML document `source` into its root element. Comments, the XML declaration and
 * white space between elements are dropped; an element's text is the concatenation of its
 * character data.
 * @returns {XmlElement}
 */
export function parseXml(source) {
    const root = { name: '#document', attributes: {}, children: [], text: '' };
    const open = [root];
    const tag = /<!--[\s\S]*?-->|<\?[\s\S]*?\?>|<\/([\w:.-]+)\s*>|<([\w:.-]+)((?:\s+[\w:.-]+\s*=\s*"[^"]*")*)\s*(\/?)>|([^<]+)/gy;
    let match;
    while (tag.lastIndex < source.length && (match = tag.exec(source)) !== null) {
        const [whole, closing, opening, attributeText, selfClosing, text] = match;
        const current = open[open.length - 1];
        if (text !== undefined) {
            current.text += unescape(text);
        } else if (closing !== undefined) {
            if (current.name !== closing)
                throw new Error(`</${closing}> closes <${current.name}>`);
            open.pop();
        } else if (opening !== undefined) {
            const attributes = {};
            for (const [, name, value] of attributeText.matchAll(/([\w:.-]+)\s*=\s*"([^"]*)"/g))
                attributes[name] = unescape(value);
            const element = { name: opening, attributes, children: [], text: '' };
            current.children.push(element);
            if (selfClosing !== '/')
                open.push(element);
        } else if (!whole.startsWith('<!--') && !whole.startsWith('<?')) {
            throw new Error(`unexpected XML: ${whole.slice(0, 40)}`);
        }
    }
    if (tag.lastIndex !== source.length || open.length !== 1)
        throw new Error('the XML document ends inside an element or cannot be read');
    const [element] = root.children.filter((child) => child.name !== '#document');
    return element;
}

const child = (element, name) => element.children.find((c) => c.name === name);

/** The value of the property `name` of a widget: a string, a number, a boolean, a rectangle. */
function property(widget, name) {
    const found = widget.children.find((c) => c.name === 'property' && c.attributes.name === name);
    if (found === undefined)
        return undefined;
    const [value] = found.children;
    switch (value.name) {
        case 'string':
        case 'enum':
        case 'set':
            return value.text;
        case 'bool':
            return value.text === 'true';
        case 'number':
            return Number(value.text);
        case 'rect':
        case 'size': {
            const numbers = {};
            for (const part of value.children)
                numbers[part.name] = Number(part.text);
            return numbers;
        }
        case 'pixmap':
            return value.text;
        default:
            throw new Error(`property ${name} of ${widget.attributes.name}: unknown type ${value.name}`);
    }
}

/**
 * @typedef {object} Control
 * @property {string} name       the definition name ("Button2")
 * @property {string} kind       the widget class ("QPushButton", "velmora::PlotChart")
 * @property {{x: number, y: number, width: number, height: number}} rect  in its parent's client area
 * @property {string|undefined} text       a caption, a label's text or a text box's plain text
 * @property {string|undefined} picture    a picture's file name in resources/ ("formula.jpg")
 * @property {boolean} checked
 * @property {boolean} readOnly
 * @property {Control[]} children  the controls lying on this one (the plot's buttons and letters)
 */

function readControl(widget) {
    const pixmap = property(widget, 'pixmap');
    return {
        name: widget.attributes.name,
        kind: widget.attributes.class,
        rect: property(widget, 'geometry'),
        text: property(widget, 'text') ?? property(widget, 'plainText'),
        picture: pixmap === undefined ? undefined : pixmap.replace(/^:\/pictures\//, ''),
        checked: property(widget, 'checked') === true,
        readOnly: property(widget, 'readOnly') === true,
        children: widget.children.filter((c) => c.name === 'widget').map(readControl),
    };
}

/**
 * @typedef {object} WindowDefinition
 * @property {string} name      "TForm1"
 * @property {string} caption   the window's title
 * @property {{width: number, height: number}} size  of its client area
 * @property {Control[]} controls
 * @property {string[]} tabStops  the keyboard order as the definition lists it (may be empty)
 */

/** The window definition held in the text of a .ui file. @returns {WindowDefinition} */
export function readWindowDefinition(source) {
    const ui = parseXml(source);
    const form = child(ui, 'widget');
    const { width, height } = property(form, 'geometry');
    const tabStops = child(ui, 'tabstops');
    return {
        name: form.attributes.name,
        caption: property(form, 'windowTitle'),
        size: { width, height },
        controls: form.children.filter((c) => c.name === 'widget').map(readControl),
        tabStops: tabStops ? tabStops.children.map((stop) => stop.text) : [],
    };
}

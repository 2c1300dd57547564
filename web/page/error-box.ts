// The error box: modal, captioned "Velmora", the message as the desktop shows it, one "OK"
// button that holds the keyboard; Enter and Escape close it, and the keyboard goes back to
// where it was. Nothing is rolled back: the bench goes on.

/** The box shows a message of up to this many characters whole; of a longer one, its start and its last TAIL characters. */
const BOX_CHARACTERS = 1000;
const BOX_TAIL = 300;

/**
 * The message as the box shows it: a "." is added when the message is not empty and its last
 * character comes after "." (so a message ending in ".", a blank, "!", "," or "-" is shown as
 * it is).
 */
export function errorBoxText(message: string): string {
    return message.length > 0 && message.charCodeAt(message.length - 1) > 0x2e ? `${message}.` : message;
}

/** `text` cut to `length` code units from its start or its end, without halving a surrogate pair. */
function part(text: string, length: number, fromEnd: boolean): string {
    if (fromEnd) {
        let from = text.length - length;
        const unit = text.charCodeAt(from);
        if (unit >= 0xdc00 && unit <= 0xdfff)
            ++from;
        return text.slice(from);
    }
    const unit = text.charCodeAt(length - 1);
    return text.slice(0, unit >= 0xd800 && unit <= 0xdbff ? length - 1 : length);
}

/**
 * What the box shows of `text`: all of it up to BOX_CHARACTERS; a longer one (the conversion
 * error quoting a pasted megabyte) by its beginning and its end joined by "…", so that the box
 * fits the screen with its button in reach.
 */
export function fitForBox(text: string): string {
    if (text.length <= BOX_CHARACTERS)
        return text;
    return part(text, BOX_CHARACTERS - BOX_TAIL - 1, false) + '\u2026' + part(text, BOX_TAIL, true);
}

export class ErrorBox {
    readonly #dialog: HTMLDialogElement;
    readonly #text: HTMLElement;
    readonly #ok: HTMLButtonElement;
    /** The box shows one message at a time: a later one waits until the earlier one is closed. */
    #queue: Promise<void> = Promise.resolve();

    constructor(dialog: HTMLDialogElement) {
        this.#dialog = dialog;
        this.#text = dialog.querySelector<HTMLElement>('.text')!;
        this.#ok = dialog.querySelector<HTMLButtonElement>('.push-button')!;
        this.#ok.addEventListener('click', () => dialog.close());
    }

    get open(): boolean {
        return this.#dialog.open;
    }

    /** Shows `message` (with the final "." rule); resolves once the student has closed the box. */
    show(message: string): Promise<void> {
        this.#queue = this.#queue.then(() => this.#showNow(fitForBox(errorBoxText(message))));
        return this.#queue;
    }

    #showNow(text: string): Promise<void> {
        const active = document.activeElement;
        this.#text.textContent = text;
        this.#dialog.showModal();
        this.#ok.focus();
        // Escape closes the box as "OK" does; Enter presses "OK", which holds the keyboard.
        return new Promise((resolve) => {
            this.#dialog.addEventListener('close', () => {
                if (active instanceof HTMLElement)
                    active.focus({ preventScroll: true });
                resolve();
            }, { once: true });
        });
    }
}

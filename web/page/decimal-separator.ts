// The decimal separator of the student's language, as the browser formats numbers in it:
// the page's counterpart of the desktop's regional settings, followed when the browser's
// language changes.

/** The separator numbers are written with in `languages` (the browser's, in its order); "." when it is not one character. */
export function separatorOf(languages: readonly string[]): string {
    let parts: Intl.NumberFormatPart[];
    try {
        parts = new Intl.NumberFormat([...languages]).formatToParts(1.5);
    } catch {
        parts = new Intl.NumberFormat().formatToParts(1.5);
    }
    const separator = parts.find((part) => part.type === 'decimal')?.value ?? '.';
    return separator.length === 1 ? separator : '.';
}

/** The browser's languages, most preferred first. */
export function browserLanguages(): readonly string[] {
    return navigator.languages.length > 0 ? navigator.languages : [navigator.language];
}

/** Calls `follow` with the separator now and each time the browser's language changes. */
export function followSeparator(follow: (separator: string) => void): void {
    follow(separatorOf(browserLanguages()));
    window.addEventListener('languagechange', () => follow(separatorOf(browserLanguages())));
}

// The decimal separator of the user's numeric locale, chosen as the native velmora-cli
// chooses it: the locale named by LC_ALL, else LC_NUMERIC, else LANG (the first that is set
// and not empty), and that locale's decimal sign, here from the locale data of node's ICU.

/** The separator for the environment `env`: "." for the C and POSIX locales and for a locale node does not know. */
export function decimalSeparatorOfLocale(env: Record<string, string | undefined>): string {
    const name = [env['LC_ALL'], env['LC_NUMERIC'], env['LANG']].find((value) => value) ?? 'C';
    const tag = languageTag(name);
    if (tag === null || Intl.NumberFormat.supportedLocalesOf([tag]).length === 0)
        return '.';
    const decimal = new Intl.NumberFormat(tag).formatToParts(1.5).find((part) => part.type === 'decimal')?.value ?? '';
    return separatorOf(decimal, '.');
}

/** "de_DE.UTF-8@euro" as "de-DE"; null for C, POSIX and what is not a locale name. */
function languageTag(name: string): string | null {
    const match = /^([A-Za-z]{2,3})(?:_([A-Za-z]{2}|[0-9]{3}))?(?:\.[^@]*)?(?:@.*)?$/.exec(name);
    if (match === null || name === 'C' || name === 'POSIX')
        return null;
    return match[2] ? `${match[1]}-${match[2]}` : match[1]!;
}

/** A locale's separator text: its first character, or `fallback` when it is empty, longer than two characters or begins with a surrogate. */
function separatorOf(text: string, fallback: string): string {
    if (text.length === 0 || text.length > 2)
        return fallback;
    const first = text.charCodeAt(0);
    return first >= 0xd800 && first <= 0xdfff ? fallback : text[0]!;
}

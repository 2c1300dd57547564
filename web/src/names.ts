// The fixed names of the bench, in its own order: the index of a name is its number in the
// module. tests/web/surface.test.mjs checks them against the module's own tables.

/** The script words of the nine commands, in the order of the module's command table. */
export const COMMAND_WORDS = [
    'reset', 'move', 'rotate+', 'rotate-', 'stepx', 'stepy', 'start', 'record', 'erase',
] as const;
export type CommandWord = (typeof COMMAND_WORDS)[number];

/** The keys of the nine readout rows, top to bottom ("поврота" as the bench spells it). */
export const ROW_KEYS = [
    'Угол поврота (град)',
    'Шаг (см)',
    'Текущая координата x (см)',
    'Текущая координата y (см)',
    'Начальная координата x (см)',
    'Начальная координата y (см)',
    'Угол датчика (град)',
    'Индукция B (Тл)',
    'Циркуляция (А)',
] as const;
export type RowKey = (typeof ROW_KEYS)[number];

/** The three option boxes: "Фиксировать угол", "Рассчитывать циркуляцию", "Записывать протокол". */
export const OPTION_NAMES = ['fixAngle', 'sumCirculation', 'writeProtocol'] as const;
export type OptionName = (typeof OPTION_NAMES)[number];

/** The five plot layers in the order they are drawn, later over earlier. */
export const LAYER_NAMES = ['ProbeMarker', 'WireSections', 'Trace', 'AxisLineX', 'AxisLineY'] as const;
export type LayerName = (typeof LAYER_NAMES)[number];

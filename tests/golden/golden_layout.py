"""The report layout shared by the golden-report generators make_*_golden.py: the header block,
picture fields, the adaptive field, the plain number form, the k-group input block and the
report file itself.

Each generator keeps its own margin policy (how far a reference value must lie from a rounding
boundary before its rounded digits can be trusted to match a single-precision result) and binds
it with functools.partial, e.g. `field = partial(golden_layout.field, relative=5e-8)`.
"""
import math
import struct
from decimal import ROUND_HALF_UP, Decimal
from fractions import Fraction

DATE = "07.12.2026 (09:05)"  # the tests' fixed clock


def f32(x):
    """x rounded to the 32-bit float the module stores."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


def check_margin(value, after, relative=0.0, places=0.0, error=0.0):
    """Refuses `value` when a result that differs from it by its error could round to other
    digits at `after` places.  The error allowed is the largest of `relative` * |value|,
    `places` units of the last place and `error` (absolute); all zero: no check."""
    scaled = abs(value) * 10 ** after
    distance = abs(scaled - math.floor(scaled) - 0.5)  # to the nearest boundary, in last places
    if value != 0 and distance < max(relative * scaled, places, error * 10 ** after):
        raise SystemExit(f"{value} lies at a rounding boundary of {after} places")


def field(value, before, after=0, exact=False, relative=0.0, places=0.0, error=0.0):
    """A fixed picture field: `before` positions (one of them for a "-"), a point and `after`
    positions (no point when `after` is 0); the exact decimal value rounded half up;
    right-aligned; a zero integer part shows one "0".  `exact`: a data value or exact arithmetic
    on data values, printed without a margin check; otherwise see check_margin.  `value` may be
    a float, an int or a Fraction."""
    if not exact:
        check_margin(float(value), after, relative, places, error)
    d = Decimal(value.numerator) / Decimal(value.denominator) if isinstance(value, Fraction) else Decimal(value)
    q = abs(d).quantize(Decimal(1).scaleb(-after), rounding=ROUND_HALF_UP)
    text = f"{q:.{after}f}"
    if d < 0:
        text = "-" + text
    return text.rjust(before + (after + 1 if after else 0))


def adaptive(value, exact=True, **margin):
    """The 11-character adaptive field: " #####.####" for moderate values and zero, otherwise
    " ##.###^^^^" (a sign position, one digit, three decimals, E and a two-digit exponent).
    `exact` and `margin` as for field (the exponent form is not checked)."""
    if -9999.99 < value < 99999.99 and (abs(value) >= 0.0001 or value == 0):
        return " " + field(value, 5, 4, exact, **margin)
    d = abs(Decimal(value))
    e = d.adjusted()
    mantissa = d.scaleb(-e).quantize(Decimal("0.001"), rounding=ROUND_HALF_UP)
    if mantissa >= 10:
        mantissa, e = (mantissa / 10).quantize(Decimal("0.001"), rounding=ROUND_HALF_UP), e + 1
    text = ("-" if value < 0 else "") + f"{mantissa:.3f}E" + ("+" if e >= 0 else "-") + f"{abs(e):02d}"
    return " " + text.rjust(10)


def number_text(value):
    """The plain number form without its trailing blank: a blank or "-", at most 7 significant
    digits, no trailing zeros, no "0" before the point.  Only values that need no exponent."""
    text = f"{abs(value):.7g}"
    assert "e" not in text, value
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    if text.startswith("0."):
        text = text[1:]
    return ("-" if value < 0 else " ") + text


def plain(value):
    """The plain number form as written to the report: the number text and a blank."""
    return number_text(value) + " "


def header(title):
    """The header block: an empty line; the title without its final point in capitals, blanks up
    to 61 characters and the date; 79 underscores; two empty lines."""
    upper = (title[:-1] if title.endswith(".") else title).upper()
    assert len(upper) < 60, "a title of 60 or more characters stands alone, not laid out here"
    return ["", upper.ljust(61) + DATE, "_" * 79, "", ""]


def group_input_block(groups, file="daten.dat", target=2, target_name="Wert", group_var=1, group_name="Gruppe"):
    """The input block of the two- and k-group letters: the target variable and the group
    variable each in the plain number form with the name after it, then the groups chosen (all
    but the last as number text, the last in the plain number form), two empty lines."""
    return ["", "Eingabedatei ist C:\\" + file,
            "  davon Variable" + plain(target) + f"({target_name})  und Gruppen-Var." + plain(group_var) +
            f"({group_name}) =" + "".join(number_text(g) for g in groups[:-1]) + plain(groups[-1]),
            "", ""]


def write(name, lines):
    """The report file `name` in the current directory: CP1252, each line ended by CR LF."""
    with open(name, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("cp1252"))

#!/usr/bin/env python3
"""Writes examples/szamlak.csv, the bundled example: the November 2024 sales ledger of a small
firm as its accounting program exports it (windows-1250, ";" between fields, CR LF, decimal
commas with thousands points). Deterministic: the same file on every run.

Besides ordinary invoices it holds what a real export brings along: invoices booked on
several lines, a credit note, a zero line, a late entry from October, one partner with more
than a page of invoices, names with ";", "&" and an apostrophe, and a few rows that the load
has to set aside.

    scripts/make-example.py [OUTPUT]     (default: examples/szamlak.csv beside this folder)
"""

import csv
import datetime
import io
import random
import sys
from pathlib import Path

HEADER = ["Partner adószáma", "Partner neve", "Számla sorszáma", "Teljesítés dátuma",
          "Nettó összeg", "ÁFA kulcs", "ÁFA összeg", "Bruttó összeg"]

# Tax number, name, how many invoices in the month.
PARTNERS = [
    ("10773381-2-44", "Kovács és Társa Kft", 41),  # more than one page of 36 rows
    ("11223344-2-05", "Fűtőszerelő Ügynökség Zrt", 14),
    ("12057318-2-13", "Fekete & Fehér Reklám Kft", 9),
    ("12345678-1-42", "Pék'Art Sütöde Bt", 8),
    ("13579246-2-41", "Kertész; Fia és Társa Bt", 12),
    ("14243546-2-03", "Őrség Űrkutató Bt", 7),
    ("15012345-2-09", "Hódmezővásárhelyi Vízmű Zrt", 11),
    ("17778880-2-16", "Tiszta Víz Bt", 6),
    ("18887776-2-43", "Écsi Építő Kft", 13),
    ("20305070-2-42", "Zöldség-Gyümölcs Nagykereskedés Kft", 15),
    ("21436587-2-17", "Dunai Hajózási Zrt", 5),
    ("22113344-2-13", "\"Szivárvány\"; Óvoda és Bölcsőde Nonprofit Kft", 4),
    ("23456789-2-05", "Alföldi Gabona Kft", 10),
    ("24681357-2-20", "Balaton Panzió Bt", 6),
    ("25252525-2-41", "Mecsek Bányagép Kft", 9),
    ("26262626-2-19", "Nyírségi Almás Szövetkezet", 7),
    ("27182818-2-42", "Euler Informatika Kft", 12),
    ("28090706-2-07", "Somogyi Fuvar Bt", 8),
    ("29876543-2-10", "Tokaji Borház Kft", 5),
    ("31415926-2-41", "Pi Mérnökiroda Kft", 9),
    ("32165498-2-13", "Győri Kárpitos Bt", 6),
    ("33445566-2-08", "Szegedi Paprika Zrt", 11),
    ("34567890-2-02", "Kiskunsági Méhész Bt", 4),
    ("35791357-2-18", "Bakonyi Erdészet Kft", 8),
    ("37373737-2-43", "Pesti Könyvkereskedés Kft", 10),
    ("38383838-2-06", "Miskolci Acélszerkezet Zrt", 7),
    ("39393939-2-11", "Egri Csillag Étterem Bt", 6),
    ("41424344-2-14", "Debreceni Nyomda Kft", 9),
    ("42434445", "Weber & Söhne GmbH magyarországi fióktelepe", 3),  # 8 digits only
    ("43444546241", "Sárközi Szőnyegszövő Bt", 5),  # 11 digits, no hyphens
]

RATES = [(27, 0.80), (18, 0.08), (5, 0.12)]


def amount_text(value):
    """1234567.89 -> "1.234.567,89": decimal comma, thousands points."""
    sign = "-" if value < 0 else ""
    whole, frac = f"{abs(value):.2f}".split(".")
    groups = []
    while len(whole) > 3:
        groups.insert(0, whole[-3:])
        whole = whole[:-3]
    groups.insert(0, whole)
    return f"{sign}{'.'.join(groups)},{frac}"


def date_text(day):
    return day.strftime("%Y.%m.%d")


def pick_rate(rng):
    r = rng.random()
    for rate, share in RATES:
        if r < share:
            return rate
        r -= share
    return RATES[0][0]


def record(tax, name, number, day, net, rate, vat=None):
    if vat is None:
        vat = round(net * rate / 100)
    return [tax, name, number, date_text(day), amount_text(net), f"{rate}%", amount_text(vat),
            amount_text(net + vat)]


def build(rng):
    start = datetime.date(2024, 11, 1)
    invoices = []  # (day, partner index, lines)
    for p, (tax, name, count) in enumerate(PARTNERS):
        for _ in range(count):
            day = start + datetime.timedelta(days=rng.randrange(30))
            net = rng.choice([rng.randrange(5, 300) * 1000, rng.randrange(1000, 99999) * 10,
                              rng.randrange(10000, 2500000) + rng.randrange(100) / 100])
            invoices.append((day, p, [(net, pick_rate(rng))]))
    invoices.sort(key=lambda inv: (inv[0], inv[1]))

    # Invoices booked on two or three lines: one line per VAT rate or per delivery.
    for k in (5, 23, 61, 118, 170, 222):
        day, p, lines = invoices[k]
        net, rate = lines[0]
        parts = 3 if k % 2 else 2
        shares = [round(net / parts, 2)] * (parts - 1)
        shares.append(round(net - sum(shares), 2))
        rates = [rate] + [r for r, _ in RATES if r != rate][: parts - 1]
        invoices[k] = (day, p, list(zip(shares, rates)))

    rows = []
    for n, (day, p, lines) in enumerate(invoices, start=1):
        tax, name, _ = PARTNERS[p]
        number = f"SZ-2024/{1000 + n:05d}"
        for net, rate in lines:
            rows.append(record(tax, name, number, day, net, rate))

    # A credit note for an invoice of last month, a cancelled order booked at zero, a late
    # entry from October and a rounding difference of under a forint.
    specials = [
        record("14243546-2-03", "Őrség Űrkutató Bt", "JT-2024/00031",
               datetime.date(2024, 11, 14), -48500.00, 27),
        record("17778880-2-16", "Tiszta Víz Bt", "SZ-2024/00999", datetime.date(2024, 11, 21),
               0.00, 27),
        record("23456789-2-05", "Alföldi Gabona Kft", "SZ-2024/00988",
               datetime.date(2024, 10, 28), 186000.00, 27),
        record("12057318-2-13", "Fekete & Fehér Reklám Kft", "KR-2024/00007",
               datetime.date(2024, 11, 29), 0.99, 27, vat=-0.40),
    ]
    # Rows the load sets aside: a tax number one digit short, 31 November, a VAT amount
    # above half of the net, an amount with a letter O for a zero.
    bad = [
        record("2030507-2-42", "Zöldség-Gyümölcs Nagykereskedés Kft", "SZ-2024/01290",
               datetime.date(2024, 11, 18), 73000.00, 27),
        ["31415926-2-41", "Pi Mérnökiroda Kft", "SZ-2024/01291", "2024.11.31",
         amount_text(125000), "27%", amount_text(33750), amount_text(158750)],
        record("27182818-2-42", "Euler Informatika Kft", "SZ-2024/01292",
               datetime.date(2024, 11, 22), 12000.00, 27, vat=7200.00),
        ["33445566-2-08", "Szegedi Paprika Zrt", "SZ-2024/01293", "2024.11.25", "45.5OO,00",
         "27%", amount_text(12285), amount_text(57785)],
    ]
    # The first ten rows are what the window previews and checks: keep them plain.
    for offset, row in zip((40, 95, 150, 260), specials):
        rows.insert(offset, row)
    for offset, row in zip((70, 130, 200, 280), bad):
        rows.insert(offset, row)
    return rows


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "examples" / "szamlak.csv"
    text = io.StringIO()
    writer = csv.writer(text, delimiter=";", quotechar='"', quoting=csv.QUOTE_MINIMAL,
                        lineterminator="\r\n")
    writer.writerow(HEADER)
    writer.writerows(build(random.Random(20241130)))
    out.write_bytes(text.getvalue().encode("cp1250"))


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Writes the sample ADIF log: a few hundred QSOs of the given contest year as several logging
programs export them (upper- and lower-case tags, CR LF and LF, data type indicators,
values that span lines, several records on one line), with the mistakes the converter has
to explain: wrong year, missing fields, bad bands and modes, busted calls, and QSOs of the
six contest entities. Deterministic: the same QSOs for every year. The build writes the log
of its own year into its samples/ folder.

Usage: make_sample_log.py YEAR OUTPUT.adi
"""
import random
import sys

SEED = 2024  # a seed, not a year: every edition's sample holds the same QSOs

# call prefix, DXCC code, CQ Zone
STATIONS = [
    ("K1", 291, 5), ("W6", 291, 3), ("N4", 291, 5), ("VE3", 1, 4), ("VE7", 1, 3),
    ("DL1", 230, 14), ("DK5", 230, 14), ("F5", 227, 14), ("G4", 223, 14), ("GM3", 279, 14),
    ("EI7", 245, 14), ("ON4", 209, 14), ("PA3", 263, 14), ("OZ1", 221, 18), ("SM5", 284, 18),
    ("LA9", 266, 18), ("OH2", 224, 15), ("ES5", 52, 15), ("SP3", 269, 15), ("OK1", 503, 15),
    ("OM3", 504, 15), ("HA5", 239, 15), ("S57", 499, 15), ("9A2", 497, 15), ("YU1", 296, 15),
    ("LZ1", 212, 20), ("YO3", 275, 20), ("SV1", 236, 20), ("TA2", 390, 20), ("4X1", 336, 20),
    ("UA3", 54, 16), ("UA9", 15, 17), ("UR5", 288, 16), ("EA4", 281, 14), ("CT1", 272, 14),
    ("I2", 248, 15), ("IK0", 248, 15), ("OE3", 206, 15), ("HB9", 287, 14), ("JA1", 339, 25),
    ("JA7", 339, 25), ("BY1", 318, 24), ("HL2", 137, 25), ("BV2", 386, 24), ("VU2", 324, 22),
    ("HS0", 387, 26), ("9V1", 381, 28), ("YB0", 327, 28), ("DU1", 375, 27), ("VK2", 150, 30),
    ("VK6", 150, 29), ("ZL1", 170, 32), ("KH6", 110, 31), ("KL7", 6, 1), ("XE1", 50, 6),
    ("TI2", 308, 7), ("HK3", 116, 9), ("YV5", 148, 9), ("PY2", 108, 11), ("LU1", 100, 13),
    ("CE3", 112, 12), ("OA4", 136, 10), ("ZS6", 462, 38), ("5Z4", 430, 37), ("CN8", 446, 33),
    ("SU1", 478, 34), ("A71", 376, 21), ("A61", 391, 21), ("9K2", 348, 21), ("EA8", 29, 33),
    ("CT3", 256, 33), ("CU2", 149, 14), ("VP9", 64, 5), ("KP4", 202, 8), ("FG4", 79, 8),
    ("8P6", 62, 8), ("ZF2", 69, 8), ("TF3", 242, 40), ("OX3", 237, 40), ("JW7", 259, 40),
    ("VP8", 141, 13), ("FR5", 453, 39), ("3B8", 165, 39), ("V51", 464, 38), ("7X2", 400, 33),
]
# Band name, its edges (MHz), and how often it is used.
BANDS = [("160m", 1.8, 2.0, 1), ("80m", 3.5, 4.0, 3), ("40m", 7.0, 7.3, 6),
         ("30m", 10.1, 10.15, 3), ("20m", 14.0, 14.35, 8), ("17m", 18.068, 18.168, 3),
         ("15m", 21.0, 21.45, 5), ("12m", 24.89, 24.99, 2), ("10m", 28.0, 29.7, 5),
         ("6m", 50.0, 54.0, 2)]
# Mode, submode, and where in the band it is worked (a fraction of the band's width).
MODES = [("CW", None, 0.1), ("SSB", "USB", 0.7), ("FT8", None, 0.4), ("RTTY", None, 0.3),
         ("MFSK", "FT4", 0.45)]


def fields_of(qso):
    return [(name, str(value)) for name, value in qso if value is not None]


def tag(name, value, lower=False, typed=False):
    name = name.lower() if lower else name
    indicator = ":D" if typed and name.upper() == "QSO_DATE" else ""
    return f"<{name}:{len(value.encode('latin-1'))}{indicator}>{value}"


def make_qsos(rng, year):
    qsos = []
    serial = 0
    for _ in range(260):
        prefix, dxcc, zone = rng.choice(STATIONS)
        serial += 1
        suffix = "".join(rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ") for _ in range(rng.randint(2, 3)))
        band, lower, upper, _ = rng.choices(BANDS, weights=[b[3] for b in BANDS])[0]
        mode, submode, place = rng.choice(MODES)
        if band == "30m" and mode == "SSB":  # no phone on 30 m
            mode, submode, place = MODES[0]
        month, day = rng.randint(1, 12), rng.randint(1, 28)
        confirmed = rng.random() < 0.45
        qsos.append([
            ("CALL", prefix + suffix), ("QSO_DATE", f"{year}{month:02d}{day:02d}"),
            ("TIME_ON", f"{rng.randint(0, 23):02d}{rng.randint(0, 59):02d}"), ("BAND", band),
            ("FREQ", f"{lower + (upper - lower) * place + rng.randint(0, 9) / 1000:.6f}"), ("MODE", mode),
            ("SUBMODE", submode), ("RST_SENT", "599" if mode == "CW" else "59"),
            ("DXCC", dxcc), ("CQZ", zone),
            ("QSL_RCVD", "Y" if confirmed and rng.random() < 0.5 else "N"),
            ("LOTW_QSL_RCVD", "Y" if confirmed else "N"),
        ])
    return qsos


def special_qsos(year):
    """QSOs that exercise one rule each."""
    this, last = str(year), str(year - 1)
    return [
        [("CALL", "IT9ABC"), ("QSO_DATE", this + "0512"), ("TIME_ON", "1012"), ("BAND", "20m"),
         ("FREQ", "14.021"), ("MODE", "CW"), ("DXCC", 248), ("CQZ", 15), ("LOTW_QSL_RCVD", "Y")],
        [("CALL", "IH9XYZ"), ("QSO_DATE", this + "0613"), ("TIME_ON", "0840"), ("BAND", "15m"),
         ("MODE", "SSB"), ("DXCC", 248), ("CQZ", 33)],
        [("CALL", "IT9ABC/3"), ("QSO_DATE", this + "0714"), ("TIME_ON", "1500"), ("BAND", "40m"),
         ("MODE", "CW"), ("DXCC", 248), ("CQZ", 15)],
        [("CALL", "4U1VIC"), ("QSO_DATE", this + "0301"), ("TIME_ON", "0930"), ("BAND", "20m"),
         ("MODE", "RTTY"), ("DXCC", 206), ("CQZ", 15), ("QSL_RCVD", "Y")],
        [("CALL", "GM4XYZ"), ("QSO_DATE", this + "0822"), ("TIME_ON", "2010"), ("BAND", "40m"),
         ("MODE", "CW"), ("DXCC", 279), ("CQZ", 14), ("IOTA", "EU-012")],
        [("CALL", "JW5X"), ("QSO_DATE", this + "0704"), ("TIME_ON", "1111"), ("BAND", "30m"),
         ("MODE", "FT8"), ("DXCC", 259), ("CQZ", 40), ("IOTA", "EU-027"), ("EQSL_QSL_RCVD", "Y")],
        [("CALL", "TA1AB"), ("QSO_DATE", this + "0405"), ("TIME_ON", "0615"), ("BAND", "20m"),
         ("MODE", "SSB"), ("DXCC", 390), ("CQZ", 20)],
        [("CALL", "K1ABC/MM"), ("QSO_DATE", this + "0202"), ("TIME_ON", "1200"), ("BAND", "20m"),
         ("MODE", "CW"), ("DXCC", 291), ("CQZ", 5)],
        [("CALL", "DL9ZZZ"), ("QSO_DATE", last + "1231"), ("TIME_ON", "2359"), ("BAND", "80m"),
         ("MODE", "CW"), ("DXCC", 230), ("CQZ", 14)],
        [("QSO_DATE", this + "0303"), ("TIME_ON", "0303"), ("BAND", "20m"), ("MODE", "CW"),
         ("DXCC", 230), ("CQZ", 14)],
        [("CALL", "F6ABC"), ("TIME_ON", "0404"), ("BAND", "20m"), ("MODE", "CW"), ("DXCC", 227),
         ("CQZ", 14)],
        [("CALL", "G3XYZ"), ("QSO_DATE", this + "0505"), ("TIME_OFF", "050530"), ("BAND", "17m"),
         ("MODE", "CW"), ("DXCC", 223), ("CQZ", 14)],
        [("CALL", "EA5XX"), ("QSO_DATE", this + "0606"), ("BAND", "20m"), ("MODE", "CW"),
         ("DXCC", 281), ("CQZ", 14)],
        [("CALL", "ON5AA"), ("QSO_DATE", this + "0707"), ("TIME_ON", "0707"), ("BAND", "20m"),
         ("FREQ", "21.025"), ("MODE", "CW"), ("DXCC", 209), ("CQZ", 14)],
        [("CALL", "PA0ZZ"), ("QSO_DATE", this + "0808"), ("TIME_ON", "0808"), ("BAND", "11m"),
         ("MODE", "SSB"), ("DXCC", 263), ("CQZ", 14)],
        [("CALL", "OZ7AA"), ("QSO_DATE", this + "0909"), ("TIME_ON", "0909"), ("MODE", "CW"),
         ("DXCC", 221), ("CQZ", 18)],
        [("CALL", "SM6AA"), ("QSO_DATE", this + "1010"), ("TIME_ON", "1010"), ("BAND", "20m"),
         ("MODE", "CW3"), ("DXCC", 284), ("CQZ", 18)],
        [("CALL", "LA1AA"), ("QSO_DATE", this + "1111"), ("TIME_ON", "1111"), ("BAND", "20m"),
         ("MODE", "CW"), ("CQZ", 18)],
        [("CALL", "OH1AA"), ("QSO_DATE", this + "1212"), ("TIME_ON", "1212"), ("BAND", "20m"),
         ("MODE", "CW"), ("DXCC", 224), ("CQZ", 41)],
        [("CALL", "ES1AA"), ("QSO_DATE", this + "0114"), ("TIME_ON", "1414"), ("BAND", "20m"),
         ("MODE", "CW"), ("DXCC", 52)],
        [("CALL", "W1BUST"), ("QSO_DATE", this + "0615"), ("TIME_ON", "1515"), ("BAND", "20m"),
         ("MODE", "CW"), ("DXCC", 291), ("CQZ", 5)],
        [("CALL", "N0FAKE"), ("QSO_DATE", this + "0916"), ("TIME_ON", "1616"), ("BAND", "40m"),
         ("MODE", "SSB"), ("DXCC", 291), ("CQZ", 4)],
        [("CALL", "K9QSL"), ("QSO_DATE", this + "0417"), ("TIME_ON", "1717"), ("BAND", "20m"),
         ("MODE", "CW"), ("DXCC", 291), ("CQZ", 4), ("QSL_RCVD", "I")],
        [("CALL", "VE3ZON"), ("QSO_DATE", this + "1018"), ("TIME_ON", "1818"), ("BAND", "40m"),
         ("MODE", "CW"), ("DXCC", 1), ("CQZ", 5)],
    ]


def write_n1mm(out, qsos):
    # One record per line, upper-case tags, blanks between fields, CR LF.
    for qso in qsos:
        out.append(" ".join(tag(n, v) for n, v in fields_of(qso)) + " <EOR>\r\n")


def write_wsjtx(out, qsos):
    # Lower-case tags, LF, seconds in the time.
    for qso in qsos:
        fields = [(n, v + "00" if n == "TIME_ON" else v) for n, v in fields_of(qso)]
        out.append(" ".join(tag(n, v, lower=True) for n, v in fields) + " <eor>\n")


def write_logger(out, qsos, rng):
    # One field per line with type indicators, and a comment that spans two lines.
    for qso in qsos:
        lines = [tag(n, v, typed=True) for n, v in fields_of(qso)]
        if rng.random() < 0.3:
            lines.append(tag("COMMENT", "Nice signal\r\nworked on the long path"))
        out.append("\r\n".join(lines) + "\r\n<EOR>\r\n\r\n")


def write_packed(out, qsos):
    # Several records on one line, as some converters write them.
    out.append("".join("".join(tag(n, v) for n, v in fields_of(q)) + "<EOR>" for q in qsos) + "\n")


def main(year, path):
    rng = random.Random(SEED)
    qsos = make_qsos(rng, year)
    out = ["DX Tarvenix sample log\r\n",
           " ".join([tag("ADIF_VER", "3.1.4"), tag("PROGRAMID", "SampleLog"),
                     tag("PROGRAMVERSION", "2.3.1"), "<EOH>\r\n"])]
    write_n1mm(out, qsos[:90])
    write_wsjtx(out, qsos[90:160])
    write_logger(out, qsos[160:230], rng)
    write_packed(out, qsos[230:])
    write_n1mm(out, special_qsos(year))
    with open(path, "w", newline="", encoding="latin-1") as f:
        f.write("".join(out))


if __name__ == "__main__":
    if len(sys.argv) != 3 or not sys.argv[1].isdigit():
        sys.exit(__doc__)
    main(int(sys.argv[1]), sys.argv[2])

#!/usr/bin/python3
"""End-to-end tests of tarvenix-convert on real files: the filled workbook is read back with
openpyxl, the run log is compared line by line, and the results page is parsed as HTML.

Usage: test_convert.py CONVERTER SOURCE_DIR [EMULATOR]
(EMULATOR runs a Windows build of the converter, e.g. scripts/wine-run.) CTest gives the
build's contest year and samples folder in TARVENIX_CONTEST_YEAR and TARVENIX_SAMPLES_DIR.
The country file's refresh is tested when run through tests/net/http_test_server.py.
"""
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.request
from html.parser import HTMLParser

from openpyxl import Workbook, load_workbook

CONVERTER, SOURCE_DIR = sys.argv[1], sys.argv[2]
EMULATOR = sys.argv[3:4]
YEAR, SAMPLES = os.environ["TARVENIX_CONTEST_YEAR"], os.environ["TARVENIX_SAMPLES_DIR"]
TEMPLATE = os.path.join(SAMPLES, "Scoresheet v1.0.xlsx")
BAD_CALLS = os.path.join(SAMPLES, "all-bad-calls.json")
COUNTRY_FILE = "/usr/share/hamradio-files/cty.csv"
SEPARATOR = "=" * 40
DAY, CALL = 4, 9  # openpyxl columns D and I
HEADER = ["INFO:\tTEST ver. 1.0", SEPARATOR]  # what the hand-made logs' header gives
SERVER = "http://127.0.0.1:%s/" % os.environ.get("TARVENIX_TEST_HTTP_PORT")


def adif(*records):
    """An ADIF log from records given as dicts (values as text)."""
    return "Hand-made log\n<PROGRAMID:4>TEST<PROGRAMVERSION:3>1.0<EOH>\n" + "".join(
        "".join(f"<{k}:{len(v)}>{v}" for k, v in r.items()) + "<EOR>\n" for r in records)


def qso(call="K1AA", date=f"{YEAR}0301", time="1200", band="20m", mode="CW", dxcc="291", cqz="5", **more):
    record = dict(CALL=call, QSO_DATE=date, TIME_ON=time, BAND=band, MODE=mode, DXCC=dxcc, CQZ=cqz)
    return {k: v for k, v in {**record, **more}.items() if v is not None}


def write(path, text):
    with open(path, "wb") as f:
        f.write(text if isinstance(text, bytes) else text.encode())


def log_lines(output):
    with open(os.path.splitext(output)[0] + ".log", newline="") as f:
        return f.read().replace("\r\n", "\n").split("\n")[:-1]


def body(output):
    """The run log after its five header lines, which are checked here, and the country
    file's lines and separator when there are."""
    lines = log_lines(output)
    assert lines[0] == lines[4] == SEPARATOR, lines[:6]
    assert re.fullmatch(r"Converted on \d\d/\d\d/\d\d \d\d:\d\d:\d\d UTC", lines[1]), lines[1]
    assert re.fullmatch(r".+ \[Version \d+\.\d+\.\d+\]", lines[2]), lines[2]
    assert lines[3] == "tarvenix-convert version 1.0", lines[3]
    if lines[5].startswith("INFO:\tCountry file "):
        return lines[lines.index(SEPARATOR, 6) + 1:]
    return lines[5:]


def rows_by_prefix(sheet):
    return {sheet.cell(row=r, column=2).value: r for r in range(6, 351)}


class ConvertTestCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tarvenix-e2e-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.converter = CONVERTER

    def path(self, name):
        return os.path.join(self.folder, name)

    def args(self, adif_name="log.adi", template=TEMPLATE, output="out.xlsx", extra=("--offline",)):
        return ["--adif", self.path(adif_name), "--scoresheet", template, "--output",
                self.path(output), "--call", "W1AW", *extra]

    def run_converter(self, args):
        # a user data folder of the test's own: the user's refreshed country file stays out
        return subprocess.run(EMULATOR + [self.converter, *args], capture_output=True, text=True,
                              timeout=120, env=dict(os.environ, XDG_DATA_HOME=self.path("data")))

    def convert(self, *records, args=("--offline",), output="out.xlsx"):
        """Converts the records (or log.adi as it is, without records): the run, its log's
        body and the filled sheet."""
        if records:
            write(self.path("log.adi"), adif(*records))
        run = self.run_converter(self.args(output=output, extra=args))
        self.assertEqual(run.returncode, 0, run.stderr)
        return run, body(self.path(output)), load_workbook(self.path(output)).worksheets[0]


class EveryRule(ConvertTestCase):
    """A hand-made log that meets every check of the evaluation once."""

    RECORDS = [
        {"QSO_DATE": f"{YEAR}0301", "TIME_ON": "1200", "BAND": "20m", "MODE": "CW"},
        qso("W1BUST", f"{YEAR}0615"),
        qso("N0FAKE", f"{YEAR}0916"),
        qso("K1ABC", date=None),
        qso("K1ABC", f"{int(YEAR) - 1}1231"),
        qso("K1ABC", f"{YEAR}0102", time=None),
        qso("G3XYZ", f"{YEAR}0505", time=None, TIME_OFF="123456", dxcc="223", cqz="14"),
        qso("K1ABC/MM", f"{YEAR}0202"),
        qso("K9QSL", f"{YEAR}0417", QSL_RCVD="I", LOTW_QSL_RCVD="Y"),
        qso("!K1ABC", f"{YEAR}0418"),
        qso("K1ABD", f"{YEAR}0419", band=None),
        qso("K1ABE", f"{YEAR}0420", band=None, FREQ="13.999"),
        qso("K1ABF", f"{YEAR}0421", band="11m"),
        qso("K1ABG", f"{YEAR}0422", band="20M", FREQ="7.074"),
        qso("K1ABH", f"{YEAR}0423", mode=None),
        qso("K1ABI", f"{YEAR}0424", mode="cw"),
        qso("K1ABJ", f"{YEAR}0425", dxcc=None),
        qso("K1ABK", f"{YEAR}0426", dxcc="999"),
        qso("K1ABL", f"{YEAR}0427", dxcc="-5"),
        qso("K1ABM", f"{YEAR}0428", dxcc="23"),
        qso("DL1AB", f"{YEAR}0429", dxcc="230", cqz=None),
        qso("F5AB", f"{YEAR}0430", dxcc="227", cqz="41"),
        qso("IT9ABC", f"{YEAR}0512", time="093015", dxcc="248", cqz="15"),
        qso("IT9ABC/3", f"{YEAR}0714", dxcc="248", cqz="15"),
        qso("K1AA", f"{YEAR}0303", time="0005", mode="SSB", cqz="5"),
        qso("VE3ZON", f"{YEAR}1018", band="40m", dxcc="1", cqz="5"),
        qso("W2XX", f"{YEAR}1019", dxcc="291", cqz="5"),
    ]

    def test_every_rejection_is_logged_and_only_the_credits_are_written(self):
        run, lines, sheet = self.convert(*self.RECORDS, args=("--bad-calls", BAD_CALLS, "--no-country-file"))
        self.assertEqual(run.stdout.splitlines()[:2],
                         ["Wrote   7  countries to out.xlsx", "Wrote   3   zones to out.xlsx"])
        head = [
            f"Read 4 bad callsigns from {BAD_CALLS}", SEPARATOR, *HEADER,
            "WARN:\tQSO #    1 has no callsign",
            f"WARN:\tQSO #    2 with W1BUST on {YEAR}-06-15 is a busted callsign (busted copy of W1BOST)",
            f"WARN:\tQSO #    3 with N0FAKE on {YEAR}-09-16 is an invalid callsign",
        ]
        # QSOs 4 to 22 are one warning each: their texts are pinned by tests/evaluation, their
        # number by the counters below
        tail = [
            f"INFO:\tQSO #   23 with IT9ABC on {YEAR}-05-12 is Sicily",
            f"WARN:\tIT9ABC/3 on {YEAR}-07-14 is not Sicily",
            "WAZ:\t[5] Replaced K1AA with VE3ZON because Zone is more likely to be correct",
            SEPARATOR,
            "   27 QSO(s) were read from the ADIF file.",
            SEPARATOR,
            *(f"{n:5} QSO(s) {what}" for n, what in [
                (1, "had no DXCC prefix."), (3, "had a bad DXCC prefix."), (1, "had no CQ zone."),
                (1, "had a bad CQ zone."), (1, "had no Callsign."), (1, "had no Date."),
                (1, "had no Time."), (1, "used TIME_OFF instead of TIME_ON."),
                (1, "were Maritime Mobile."), (1, "were marked as Busted Calls."),
                (3, "were marked as Invalid."), (1, "had no Band or Frequency."),
                (1, "had mismatched Band and Frequency."), (1, "had a bad Band."),
                (1, "had a bad Frequency."), (1, "had a bad Mode."),
                (1, "were for the wrong Year.")]),
            SEPARATOR,
        ]
        self.assertEqual((lines[:len(head)], len(lines), lines[-len(tail):]),
                         (head, len(head) + 19 + len(tail), tail))
        # the workbook holds the year, the call and the credited rows, and nothing else changed
        template = load_workbook(TEMPLATE).worksheets[0]
        rows = rows_by_prefix(template)
        filled = {
            rows["G"]: [5, 5, 1234, 20, "CW", "G3XYZ"],
            rows["DL"]: [29, 4, 1200, 20, "CW", "DL1AB"],
            rows["F"]: [30, 4, 1200, 20, "CW", "F5AB"],
            rows["IT9"]: [12, 5, 930, 20, "CW", "IT9ABC"],
            rows["I"]: [14, 7, 1200, 20, "CW", "IT9ABC/3"],
            rows["K"]: [3, 3, 5, 20, "Phone", "K1AA"],
            rows["VE"]: [18, 10, 1200, 40, "CW", "VE3ZON"],
        }
        filled.update({351 + zone: filled[rows[prefix]] for zone, prefix in ((14, "G"), (15, "IT9"), (5, "VE"))})
        want = {(r, DAY + i): v for r, values in filled.items() for i, v in enumerate(values)}
        want.update({(2, 5): int(YEAR), (2, 7): "W1AW"})
        for row in range(1, template.max_row + 1):
            for column in range(1, 10):
                got, was = sheet.cell(row=row, column=column), template.cell(row=row, column=column)
                self.assertEqual((got.value, got.style_id),
                                 (want.get((row, column), was.value), was.style_id), (row, column))
        self.assertEqual({str(r) for r in sheet.merged_cells.ranges},
                         {str(r) for r in template.merged_cells.ranges})
        self.assertEqual(len(sheet.parent.worksheets), 2)


class CountryFile(ConvertTestCase):
    """A log without DXCC and CQZ: the country file fills them in (without it, EveryRule's
    --no-country-file leaves them out)."""

    RECORDS = [
        qso("W1AW", f"{YEAR}0301", dxcc=None, cqz=None),
        qso("KH6/W1AW", f"{YEAR}0302", dxcc=None, cqz=None),
        qso("DL1ABC", f"{YEAR}0303", dxcc="230", cqz=None),
        qso("VP2E/K1ZZ", f"{YEAR}0304", dxcc="", cqz=""),
        qso("QQ1ABC", f"{YEAR}0305", dxcc=None, cqz=None),
        qso("K1AB/AM", f"{YEAR}0306", dxcc=None, cqz=None),
        qso("IT9XYZ", f"{YEAR}0307", dxcc=None, cqz=None),
        qso("UA0ABC", f"{YEAR}0308", dxcc=None, cqz="19"),  # the log's zone, not the file's 18
    ]

    def test_the_country_file_credits_what_the_log_lacks(self):
        _, lines, sheet = self.convert(*self.RECORDS, args=("--offline", "--country-file", COUNTRY_FILE))
        self.assertRegex(log_lines(self.path("out.xlsx"))[5],
                         r"^INFO:\tCountry file .*cty\.csv, version \d{8}, \d{3} entities$")
        self.assertEqual(lines, HEADER + [
            f"WARN:\tQSO #    5 with QQ1ABC on {YEAR}-03-05 does not have a DXCC Entity Code",
            f"WARN:\tQSO #    6 with K1AB/AM on {YEAR}-03-06 does not have a DXCC Entity Code",
            f"INFO:\tQSO #    7 with IT9XYZ on {YEAR}-03-07 is Sicily",
            *(f"INFO:\t{call} on {YEAR}-03-0{day}: DXCC {dxcc} from the country file" for call, day, dxcc in [
                ("VP2E/K1ZZ", 4, "12 (Anguilla)"), ("UA0ABC", 8, "15 (Asiatic Russia)"),
                ("KH6/W1AW", 2, "110 (Hawaii)"), ("W1AW", 1, "291 (United States of America)"),
                ("IT9XYZ", 7, "904 (Sicily)")]),
            *(f"INFO:\t{call} on {YEAR}-03-0{day}: CQ Zone {zone} from the country file" for call, day, zone in [
                ("W1AW", 1, 5), ("VP2E/K1ZZ", 4, 8), ("DL1ABC", 3, 14), ("IT9XYZ", 7, 15),
                ("KH6/W1AW", 2, 31)]),
            SEPARATOR,
            "    8 QSO(s) were read from the ADIF file.",
            "    5 QSO(s) took their DXCC from the country file.",
            "    5 QSO(s) took their CQ Zone from the country file.",
            SEPARATOR,
            "    2 QSO(s) had no DXCC prefix.",
            SEPARATOR,
        ])
        rows = rows_by_prefix(sheet)
        for row, call in ((rows["K"], "W1AW"), (rows["KH6"], "KH6/W1AW"), (rows["DL"], "DL1ABC"),
                          (rows["VP2E"], "VP2E/K1ZZ"), (rows["IT9"], "IT9XYZ"), (351 + 5, "W1AW"),
                          (351 + 8, "VP2E/K1ZZ"), (351 + 14, "DL1ABC"), (351 + 15, "IT9XYZ"),
                          (351 + 19, "UA0ABC"), (351 + 31, "KH6/W1AW")):
            self.assertEqual(sheet.cell(row=row, column=CALL).value, call)

    def test_a_country_file_that_cannot_be_used_is_named_and_the_run_goes_on(self):
        write(self.path("cty.csv"), "not,a,country,file\n")
        self.convert(*self.RECORDS[:1], args=("--offline", "--country-file", self.path("cty.csv")))
        self.assertEqual(log_lines(self.path("out.xlsx"))[5:7], [
            f"WARN:\tCountry file {self.path('cty.csv')} is not in the country file format (line 1); "
            "QSOs without DXCC or CQZ cannot be credited", SEPARATOR])


class ZoneEvidence(ConvertTestCase):
    """The zone each QSO earns from the strongest evidence of its record; without the
    country file, the log's CQZ alone, as before."""

    def test_zones_from_the_record_and_the_call(self):
        records = [qso(call, f"{YEAR}03{day:02}", dxcc=dxcc, cqz=cqz, **more) for day, (call, dxcc, cqz, more) in enumerate([
            ("G3XYZ", "223", "27", {}),  # the ITU zone in CQZ
            ("K4AB", "291", None, {"STATE": "TN"}),
            ("W1ABC", "291", None, {"GRIDSQUARE": "CM87wt"}),
            ("KG4W", None, None, {}),
            ("KG4AA", None, None, {})], 1)]
        on = [None] + [f"on {YEAR}-03-{day:02}" for day in range(1, 6)]
        _, lines, sheet = self.convert(*records)
        self.assertEqual(lines, HEADER + [
            f"WARN:\tQSO #    1 with G3XYZ {on[1]}: CQ Zone 27 is not a zone of England; it counts for zone 14",
            f"INFO:\tKG4AA {on[5]}: DXCC 105 (Guantanamo Bay) from the country file",
            f"INFO:\tW1ABC {on[3]}: CQ Zone 3 from its grid square CM87wt",
            f"INFO:\tK4AB {on[2]}: CQ Zone 4 from its state TN",
            *(f"INFO:\t{call} {on[day]}: CQ Zone {zone} from the country file"
              for call, day, zone in [("KG4W", 4, 5), ("KG4AA", 5, 8), ("G3XYZ", 1, 14)]),
            SEPARATOR,
            "    5 QSO(s) were read from the ADIF file.",
            "    2 QSO(s) took their DXCC from the country file.",
            "    3 QSO(s) took their CQ Zone from the country file.",
            "    1 QSO(s) had a CQ Zone that is not a zone of their entity.",
            SEPARATOR,
        ])
        rows = rows_by_prefix(sheet)
        credited = {rows["G"]: "G3XYZ", rows["K"]: "K4AB", rows["KG4"]: "KG4AA", 351 + 3: "W1ABC",
                    351 + 4: "K4AB", 351 + 5: "KG4W", 351 + 8: "KG4AA", 351 + 14: "G3XYZ", 351 + 27: None}
        self.assertEqual({row: sheet.cell(row=row, column=CALL).value for row in credited}, credited)
        parser = PageParser()
        with open(self.path("out.html"), encoding="utf-8") as f:
            parser.feed(f.read())
        marked = [c[1] for c in parser.cells if c[1].endswith("from the call sign ")]
        self.assertEqual([c.split()[0:2] for c in marked], [["Zone", "5"], ["Zone", "8"], ["Zone", "14"], ["KG4", "Guantanamo"]])

        _, lines, sheet = self.convert(*records, args=("--offline", "--no-country-file"))
        self.assertEqual(lines, HEADER + [
            *(f"WARN:\tQSO #    {day} with {call} {on[day]} does not have a {what}" for day, call, what in [
                (2, "K4AB", "CQ Zone"), (3, "W1ABC", "CQ Zone"), (4, "KG4W", "DXCC Entity Code"),
                (5, "KG4AA", "DXCC Entity Code")]),
            SEPARATOR, "    5 QSO(s) were read from the ADIF file.", SEPARATOR,
            "    2 QSO(s) had no DXCC prefix.", "    2 QSO(s) had no CQ zone.", SEPARATOR,
        ])
        self.assertEqual(sheet.cell(row=351 + 27, column=CALL).value, "G3XYZ")


def version(age):
    """The version of a country file of the test server's that is `age` days old."""
    day = datetime.datetime.now(datetime.timezone.utc).date() - datetime.timedelta(days=age)
    return day.strftime("%Y%m%d")


@unittest.skipIf("None" in SERVER, "run through tests/net/http_test_server.py")
class CountryFileRefresh(ConvertTestCase):
    """The refreshed copy (in the user's data folder; beside the program on Windows, so the
    converter runs from the test's folder there) against the loopback server: a download
    replaces it only whole, checked and not older."""

    def test_downloads_replace_the_copy_only_when_they_pass_every_check(self):
        if EMULATOR:
            self.converter = shutil.copy(CONVERTER, self.folder)
        copy = self.path("cty.csv" if EMULATOR else os.path.join("data", "tarvenix", "cty.csv"))
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        write(self.path("log.adi"), adif(qso()))
        update, convert = ["--update-country-file"], self.args(extra=("--bad-calls", BAD_CALLS))
        # the age of the copy in use, the server's answer, the command, its exit status, the
        # age of the copy afterwards, what the program says (on stdout, stderr or in the log;
        # every path to a cty.csv shortened to its name)
        # fmt: off
        cases = [
            (60, "cty/0", update, 0, 0, f"Country file cty.csv, version {version(0)}"),
            (60, "cty/0", convert, 0, 0, f"INFO:\tCountry file cty.csv, version {version(0)}, 300 entities"),
            (20, "cty/0", convert, 0, 20, f"INFO:\tCountry file cty.csv, version {version(20)}, 300 entities"),
            (60, "html", convert, 0, 60, f"format (line 1)); using cty.csv (version {version(60)})"),
            (60, "html", update, 1, 60, "the download is not in the country file format (line 1)"),
            (60, "bytes/0", update, 1, 60, "the download is empty"),
            (60, "cutcty/0", update, 1, 60, "the download has a line not in the country file format (line 1"),
            (60, "cty/90", update, 1, 60, f"the download is older (version {version(90)}) than the copy in use"),
        ]
        # fmt: on
        for age, answer, command, status, age_after, text in cases:
            with urllib.request.build_opener(urllib.request.ProxyHandler({})).open(f"{SERVER}cty/{age}/") as stale:
                write(copy, stale.read())
            run = self.run_converter(command + ["--country-file-url", f"{SERVER}{answer}/cty.csv"])
            said = run.stdout + run.stderr + "\n".join(log_lines(self.path("out.xlsx")) if command == convert else [])
            said = re.sub(r"[^\s(]*[/\\]cty\.csv", "cty.csv", said)
            self.assertEqual((run.returncode, text in said), (status, True), (answer, command, said))
            with open(copy) as kept:
                self.assertIn(f"=VER{version(age_after)};", kept.read(), (answer, command))


class Selections(ConvertTestCase):
    RECORDS = [
        qso("DL1AA", dxcc="230", cqz="14", band="40m", mode="CW"),
        qso("DL1BB", dxcc="230", cqz="14", band="20m", mode="SSB", LOTW_QSL_RCVD="Y"),
        qso("F5AA", dxcc="227", cqz="14", band="20m", mode="FT8"),
        qso("F5BB", dxcc="227", cqz="14", band="20m", mode="CW", QSL_RCVD="Y"),
    ]

    def test_band_and_mode_options_reach_the_evaluation(self):
        for option, value, qso_line, what in [
                ("--band", "40M", f"    2 with DL1BB on {YEAR}-03-01 20m", "Band"),
                ("--mode", "Phone", f"    3 with F5AA on {YEAR}-03-01 FT8", "Mode")]:
            _, lines, _ = self.convert(*self.RECORDS, args=("--offline", option, value))
            self.assertIn(f"WARN:\tQSO #{qso_line} is not for the selected {what}", lines)
            self.assertIn(f"    3 QSO(s) were not for the selected {what}.", lines)

    def test_confirmed_qsos_replace_unconfirmed_ones_only_when_asked(self):
        _, lines, sheet = self.convert(*self.RECORDS, args=("--offline", "--confirmed"))
        self.assertEqual(lines, HEADER + [
            "DXCC:\tReplaced DL1AA with DL1BB because it is confirmed",
            "WAZ:\t[14] Replaced DL1AA with DL1BB because it is confirmed",
            "DXCC:\tReplaced F5AA with F5BB because it is confirmed",
            SEPARATOR,
            "    4 QSO(s) were read from the ADIF file.",
            "    2 entities are confirmed.",
            "    1 zones    are confirmed.",
            SEPARATOR,
        ])
        row = rows_by_prefix(sheet)["DL"]
        self.assertEqual(sheet.cell(row=row, column=CALL).value, "DL1BB")
        _, lines, plain = self.convert(output="plain.xlsx")
        self.assertNotIn("DXCC:", "\n".join(lines))
        self.assertEqual(plain.cell(row=row, column=CALL).value, "DL1AA")


class ExitStatus(ConvertTestCase):
    """Option parsing, the checks before a run and the failures of a run: the exit status and
    what standard error says. The run's own failures are pinned in tests/scoresheet."""

    def test_every_outcome_has_its_status_and_text(self):
        path, args = self.path, self.args
        csv, broken, plain = (path(f"Scoresheet v1.0{n}") for n in (".csv", " broken.xlsx", " plain.xlsx"))
        book = Workbook()
        book.active["B2"] = "Some other worksheet"
        book.save(plain)
        os.mkdir(path("dir.xlsx"))  # a folder in the output's place
        for name, text in ((csv, "prefix,name\n"), (broken, "prefix,name\n"), ("log.adi", adif(qso())),
                           ("none.adi", "no records here\n"),
                           ("cut.adi", adif(qso()) + f"<CALL:4>K2BB<QSO_DATE:8>{YEAR}0301\n")):
            write(path(name), text)
        invalid = "\n\ndoes not appear to be a valid DX Tarvenix scoresheet!"
        # arguments, exit status, text on stderr (on stdout for 0, where it starts), whether
        # the output is written (None: not looked at), a line of the run log
        # fmt: off
        cases = [
            ([], 2, "usage: tarvenix-convert --adif LOG", None, None),
            (["--adif"], 2, "tarvenix-convert: --adif needs a value\nusage:", None, None),
            (["--no-such-option"], 2, "tarvenix-convert: unknown option: --no-such-option\n", None, None),
            (["--band", "11M"], 2, "tarvenix-convert: unknown band: 11M\n", None, None),
            (["--help"], 0, "usage: tarvenix-convert --adif LOG", None, None),
            (["--version"], 0, f"tarvenix-convert 1.0 for DX Tarvenix {YEAR} (commit ", None, None),
            (args(extra=())[:-2] + ["--call", "K1"], 2, "K1 is not a valid callsign!", False, None),
            (args(template=path("template.xlsx")), 2, "template.xlsx" + invalid, False, None),
            (args()[:5] + [TEMPLATE, "--call", "W1AW"], 2, "The Scoresheet and Output file can not be the same!", None, None),
            (args("missing.adi"), 1, "Error with input file " + path("missing.adi"), False, None),
            (args(output=os.path.join("no-such-folder", "out.xlsx")), 1, "Error with output file " + path(os.path.join("no-such-folder", "out.log")), None, None),
            (args("none.adi"), 1, "Did not find any QSOs in\n" + path("none.adi") + "\n\nAre you sure it is in ADIF format?", False, None),
            (args("cut.adi"), 1, "There were 1 errors in", True, "ERROR:\tThe last record has no <EOR> and was not evaluated"),
            (args(template=csv), 1, csv + "\n\nThe Scoresheet must be in Excel format.", False, "ERROR:\t" + csv),
            (args(template=broken), 1, broken + invalid, False, "ERROR:\t" + broken),
            (args(template=plain), 1, invalid[2:], False, None),
            (args(output="dir.xlsx"), 1, "Error with output file " + path("dir.xlsx"), None, "ERROR:\t" + path("dir.xlsx")),
            (args(), 0, "Wrote   1  countries to out.xlsx\n", True, None),
        ]
        # fmt: on
        for argv, status, text, written, log_line in cases:
            for name in ("out.xlsx", "out.log", "dir.log"):
                os.path.exists(path(name)) and os.remove(path(name))
            result = self.run_converter(argv)
            self.assertEqual(result.returncode, status, (argv, result.stderr))
            self.assertTrue(result.stdout.startswith(text) if status == 0 else text in result.stderr,
                            (argv, result.stdout, result.stderr))
            # the usage goes to stdout for --help, to stderr with every error of the options
            self.assertEqual("--offline" in result.stderr, status == 2 and "--call" not in argv)
            self.assertEqual("--offline" in result.stdout, argv == ["--help"])
            if written is not None:
                self.assertEqual(os.path.exists(path("out.xlsx")), written, argv)
            if log_line is not None:
                self.assertIn(log_line, body(argv[argv.index("--output") + 1]), argv)

    def test_a_results_page_that_cannot_be_written_is_a_warning(self):
        os.mkdir(self.path("out.html"))  # a folder in the page's place
        run, lines, _ = self.convert(qso())
        self.assertNotIn("Results page", run.stdout)
        self.assertEqual(lines[-2], "WARN:\t" + self.path("out.html"))


class Samples(ConvertTestCase):
    def test_the_bundled_samples_convert(self):
        shutil.copy(os.path.join(SAMPLES, "sample.adi"), self.path("log.adi"))
        run, lines, _ = self.convert(args=("--bad-calls", BAD_CALLS, "--country-file", COUNTRY_FILE))
        self.assertRegex(run.stdout, r"Wrote +\d+  countries to out.xlsx")
        self.assertIn("INFO:\tSampleLog ver. 2.3.1", lines)
        self.assertIn("  284 QSO(s) were read from the ADIF file.", lines)


@unittest.skipIf(EMULATOR or os.name != "posix", "signals reach the program only natively")
class KilledRuns(ConvertTestCase):
    """A run killed half-way leaves the previous workbook and log; a second run on the same
    output meanwhile is refused; the next run clears the leftovers."""

    def leftovers(self):
        return sorted(n for n in os.listdir(self.folder) if ".tmp" in n or n.endswith(".lock"))

    def test_a_killed_run(self):
        self.convert(qso())
        pair = lambda: [open(self.path(n), "rb").read() for n in ("out.xlsx", "out.log")]  # noqa: E731
        previous = pair()
        write(self.path("log.adi"), adif(*(qso(call=f"K{i}AA") for i in range(200000))))
        run = subprocess.Popen([CONVERTER, *self.args()], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while not self.leftovers():
            self.assertIsNone(run.poll(), "the run ended before it could be killed")
        second = self.run_converter(self.args())
        self.assertEqual(second.returncode, 1)
        self.assertIn("out.xlsx is being written by another conversion.", second.stderr)
        run.kill(), run.wait()
        self.assertEqual(pair(), previous)
        self.assertNotEqual(self.leftovers(), [])
        self.convert(qso())
        self.assertEqual(self.leftovers(), [])


class PageParser(HTMLParser):
    """The cells of the results page (class and text of every list item holding a title) and
    the texts of its chart, besides every tag and attribute seen and whether each element that
    opens closes in order."""

    def __init__(self):
        super().__init__()
        self.cells, self.chart, self.tags, self.text, self.cell, self.in_chart = [], [], [], [], None, False
        self.open, self.balanced = [], True

    def handle_starttag(self, tag, attrs):
        self.tags.append((tag, dict(attrs)))
        self.open += [] if tag in ("meta", "br") else [tag]
        self.cell = (dict(attrs)["class"], "") if tag == "li" and dict(attrs).get("class") else self.cell
        self.in_chart = self.in_chart or tag == "svg"

    def handle_endtag(self, tag):
        self.balanced = self.balanced and self.open and self.open.pop() == tag
        if tag == "li" and self.cell:
            self.cells.append(self.cell)
            self.cell = None
        self.in_chart = self.in_chart and tag != "svg"

    def handle_data(self, data):
        self.text.append(data)
        self.cell = self.cell and (self.cell[0], self.cell[1] + data + " ")
        self.chart += [data] if self.in_chart and data.strip() else []


class ResultsPage(ConvertTestCase):
    def test_page_shows_the_credits_and_the_counters_as_text(self):
        hostile = b'K1<b>&"\xff'  # markup, a quote and a byte that is no UTF-8
        records = [qso("K1AA", QSL_RCVD="Y"), qso("X", f"{int(YEAR) - 1}0101"), qso("F5A", band="11m"),
                   qso("F5B", band="11m")]
        write(self.path("log.adi"), adif(*records).encode() + b"<CALL:%d>%s<QSO_DATE:8>%s0505"
              b"<TIME_ON:4>0101<BAND:3>40m<MODE:3>SSB<DXCC:3>230<CQZ:2>14<EOR>\n"
              % (len(hostile), hostile, YEAR.encode()))
        run, _, _ = self.convert()
        page = self.path("out.html")
        self.assertIn("Results page: " + page, run.stdout.splitlines())
        parser = PageParser()
        with open(page, encoding="utf-8") as f:
            parser.feed(f.read())
        self.assertTrue(parser.balanced and not parser.open)
        zones = [c for c in parser.cells if c[1].startswith("Zone ")]
        self.assertEqual(len(zones), 40)
        self.assertEqual(zones[4], ("confirmed", f"Zone 5 Confirmed K1AA {YEAR}-03-01 20M "))
        self.assertEqual(zones[13], ("worked", f'Zone 14 Unconfirmed K1<b>&"\ufffd {YEAR}-05-05 40M '))
        self.assertEqual(zones[1], ("missing", "Zone 2 Missing "))
        self.assertEqual(parser.chart, ["QSO(s) had a bad Band", "2", "QSO(s) were for the wrong Year", "1"])
        text = "".join(parser.text)
        for line in ("Entities: 2 of 345 credited, 1 confirmed", "CQ Zones: 2 of 40 credited, 1 confirmed",
                     "Europe: 1 of 68 credited, 0 confirmed",  # by the country file
                     "Still needed (67):", "The workbook out.xlsx is what is submitted"):
            self.assertIn(line, text)
        # Self-contained: no script, nothing loaded from elsewhere; the call made no tag.
        self.assertFalse([t for t in parser.tags if t[0] in ("script", "link", "img", "a")
                          or "src" in t[1] or "href" in t[1]])
        self.assertNotIn(("b", {}), [t for t in parser.tags if t[0] == "b"][40 + 2:])
        self.assertNotIn("Results page", self.convert(args=("--offline", "--no-html"))[0].stdout)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)

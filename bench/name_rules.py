"""The program's name rules, as far as the generators need them to know which
list line expects which archive."""
import unicodedata


def unicode_key(name):
    """Two names are the same archive when their keys are equal: letter case
    and composed or decomposed accents do not count."""
    return unicodedata.normalize("NFD", unicodedata.normalize("NFD", name).casefold())


def expected_name(line, extension="zip"):
    """The file name a list line expects: its last extension, if any, replaced.
    The last period counts, so "Dr. Mario (Japan, USA)" expects "Dr.zip"."""
    period = line.rfind(".")
    stem = line[:period] if period > 0 else line
    return stem + "." + extension


def is_archive(name, extension="zip"):
    period = name.rfind(".")
    return period > 0 and name[period + 1:].lower() == extension

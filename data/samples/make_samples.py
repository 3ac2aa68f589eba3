#!/usr/bin/env python3
"""Writes the bundled sample documents: one Japanese text in each code and line end."""
import os

TEXT = """Tessary サンプル文書
====================

春の朝、川沿いの道をゆっくり歩いた。
桜の花びらが水面に浮かび、ゆらゆらと流れていく。
カフェの窓からは、コーヒーの香りとピアノの音。

全角英数：ＡＢＣ ａｂｃ １２３
半角カナ：ｶﾀｶﾅ ﾃﾞｰﾀ
記号：「かぎ括弧」『二重』【見出し】※注意 〒100-0001
漢字：東京都千代田区、大阪府、北海道札幌市

	タブで始まる行
最後の行です。
"""

CASES = [
    ("sjis_crlf.txt", "cp932", "\r\n", b""),
    ("sjis_cr.txt", "cp932", "\r", b""),
    ("sjis_lf.txt", "cp932", "\n", b""),
    ("utf8_bom_crlf.txt", "utf-8", "\r\n", b"\xef\xbb\xbf"),
    ("utf8_lf.txt", "utf-8", "\n", b""),
    ("utf16le_bom_crlf.txt", "utf-16-le", "\r\n", b"\xff\xfe"),
    ("utf16be_bom_crlf.txt", "utf-16-be", "\r\n", b"\xfe\xff"),
    ("utf16le_lf.txt", "utf-16-le", "\n", b""),
    ("utf16be_cr.txt", "utf-16-be", "\r", b""),
]

here = os.path.dirname(os.path.abspath(__file__))
for name, codec, eol, mark in CASES:
    with open(os.path.join(here, name), "wb") as f:
        f.write(mark + TEXT.replace("\n", eol).encode(codec))

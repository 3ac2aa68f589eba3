#!/usr/bin/env python3
"""Writes the sample board log and history log (Shift-JIS, CR LF) from a fixed seed.

ostr_board.txt: 300 posts in pages of 20 between navigation lines, threads with "Re:" and
"RE:" replies; ostr_history.txt: 200 records under bracketed stamps.
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
TOPICS = ["花見の場所", "新しい自転車", "週末の天気", "駅前のラーメン屋", "図書館の本",
          "猫の写真", "夏休みの計画", "古いパソコン", "料理の作り方", "山登りの道具"]
NAMES = ["山田", "佐藤", "鈴木", "高橋", "名無し", "田中"]
BODY = ["こんにちは。よろしくお願いします。", "それはいいですね。", "私も同じ意見です。",
        "詳しく教えてください。", "ありがとうございました。", "また今度行きましょう。",
        "写真を見ました。きれいですね。", "来週の予定はどうですか？"]


def board_lines(rng, posts=300, per_page=20):
    lines = ["掲示板ログ 保存ページ", ""]
    started = []
    for n in range(posts):
        if n % per_page == 0:
            lines += ["《前のページ | 次のページ》",
                      f"以上は、新着順{n + 1}番目から{n + per_page}番目までの記事です。", ""]
        if started and rng.random() < 0.6:
            title = rng.choice(["Re: ", "RE:", "Re:Re: "]) + rng.choice(started)
        else:
            title = f"{rng.choice(TOPICS)}（その{n}）"
            started.append(title)
        day = 1 + n // 12
        lines.append(f"{title}  投稿者：{rng.choice(NAMES)}  投稿日：2024/05/{day:02d} "
                     f"{n % 24:02d}:{n % 60:02d}")
        lines += rng.sample(BODY, rng.randint(1, 3)) + [""]
    lines += ["《前のページ | 次のページ》", "新着の記事から表示しています"]
    return lines


def history_lines(rng, records=200):
    lines = ["ostrel ヒストリ", ""]
    for n in range(records):
        lines.append(f"[ 2024/06/{1 + n // 20:02d} {n % 24:02d}:{n % 60:02d}:00 ] "
                     f"{rng.choice(TOPICS)}を開きました")
        lines += [f"  フォルダ：/home/user/文書/{n}", f"  件数：{rng.randint(1, 99)}", ""]
    lines.append("以上")
    return lines


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp932"))


def main():
    rng = random.Random(23)
    write("ostr_board.txt", board_lines(rng))
    write("ostr_history.txt", history_lines(rng))


if __name__ == "__main__":
    main()

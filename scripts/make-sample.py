#!/usr/bin/env python3
"""Writes samples/sample.mbx, the sample EK-Mail mailbox shipped with EKView.

The messages are written here as UTF-8 text and stored in code page 932. Each message
chooses its own line end, so the file mixes LF and CR LF messages as real mailboxes do.

Usage: scripts/make-sample.py [output]   (default: samples/sample.mbx beside this script)
"""
import base64
import os
import sys

LF = "\n"
CRLF = "\r\n"
STATUS = "X-EKMail-Status: 0001"

# Belongs to no message: it comes before the first message-start pair.
PREAMBLE = "EKView 見本メールボックス (この行はどのメッセージにも属しません)"

ID_MEETING = "<20000403091500.A1001@mail.example.jp>"
ID_REPLY1 = "<20000403100231.B2002@example.org>"
ID_REPLY2 = "<20000403182045.C3003@mail.example.jp>"
ID_REPLY3 = "<20000404084012.D4004@example.com>"
ID_SIBLING = "<20000404090500.E5005@example.org>"
ID_PHOTO = "<20000406201409.G7007@example.com>"

AGENDA = """打ち合わせ議題
1. 進捗の確認
2. 来月の予定
3. その他
"""

# A 1 x 1 white GIF, the smallest picture a mail program would attach.
PIXEL_GIF = bytes.fromhex(
    "47494638396101000100800000ffffff00000021f90401000000002c"
    "00000000010001000002024401003b"
)


def base64_lines(data):
    text = base64.b64encode(data).decode("ascii")
    return [text[i : i + 76] for i in range(0, len(text), 76)]


def message(start, eol, header, body):
    """One message: its message-start line, the status line, header, blank line, body."""
    lines = ["From - " + start, STATUS] + header.splitlines() + [""] + body.splitlines()
    if len(start) != 24:
        sys.exit("message-start date must be 24 characters: " + start)
    return eol.join(lines) + eol


def messages():
    yield message(
        "Mon Apr 03 09:15:00 2000",
        LF,
        f"""Return-Path: <taro@example.jp>
Date: Mon, 03 Apr 2000 09:15:00 +0900
From: 山田 太郎 <taro@example.jp>
To: 開発チーム <dev@example.jp>
Subject: 来週の打ち合わせについて
Message-Id: {ID_MEETING}
MIME-Version: 1.0
Content-Type: text/plain; charset="Shift_JIS"
Content-Transfer-Encoding: 8bit""",
        """開発チームの皆さん

山田です。来週の打ち合わせの日程をお知らせします。

  日時: 4月10日(月) 14:00から15:30まで
  場所: 第二会議室

資料は次のページに置きました。
http://www.example.com/project/meeting/20000410.html

ご都合の悪い方は taro@example.jp まで返信してください。

--
山田 太郎 <taro@example.jp>""",
    )

    yield message(
        "Mon Apr 03 10:02:31 2000",
        CRLF,
        f"""Return-Path: <hanako@example.org>
Date: Mon, 03 Apr 2000 10:02:31 +0900
From: 佐藤 花子 <hanako@example.org>
To: 山田 太郎 <taro@example.jp>
Cc: dev@example.jp
Subject: Re: 来週の打ち合わせについて
Message-ID: {ID_REPLY1}
In-Reply-To: {ID_MEETING}
References: {ID_MEETING}
MIME-Version: 1.0
Content-Type: text/plain; charset="Shift_JIS"
Content-Transfer-Encoding: 8bit""",
        """山田さん

佐藤です。ご連絡ありがとうございます。

> 日時: 4月10日(月) 14:00から15:30まで
> 場所: 第二会議室

この時間は別の会議と重なっています。
開始を30分遅らせていただけないでしょうか。

佐藤 花子""",
    )

    # A reply placed before its parent; its two-digit year also sorts it before everything.
    yield message(
        "Tue Apr 04 08:40:12 2000",
        CRLF,
        f"""Date: Tue, 04 Apr 00 08:40:12 +0900
From: suzuki@example.com (鈴木 一郎)
To: 山田 太郎 <taro@example.jp>
Subject: Re: 来週の打ち合わせについて
Message-Id: {ID_REPLY3}
In-Reply-To: {ID_REPLY2}
References: {ID_MEETING} {ID_REPLY1}
 {ID_REPLY2}
Content-Type: text/plain; charset="Shift_JIS\"""",
        """鈴木です。

山田さんは書きました:
｜では14:30開始にしましょう。
｜議事録は鈴木さんにお願いできますか。

承知しました。議事録は私が取ります。
前回の議事録は http://intra.example.com/minutes/ にあります。""",
    )

    yield message(
        "Mon Apr 03 18:20:45 2000",
        LF,
        f"""Date: Mon, 03 Apr 2000 18:20:45 +0900
From: 山田 太郎 <taro@example.jp>
To: 佐藤 花子 <hanako@example.org>
Cc: dev@example.jp, suzuki@example.com
Subject: Re: 来週の打ち合わせについて
Message-Id: {ID_REPLY2}
In-Reply-To: {ID_REPLY1}
References: {ID_MEETING} {ID_REPLY1}
Content-Type: text/plain; charset="Shift_JIS\"""",
        """佐藤さん

>> 日時: 4月10日(月) 14:00から15:30まで
> この時間は別の会議と重なっています。
> 開始を30分遅らせていただけないでしょうか。

では14:30開始にしましょう。
議事録は鈴木さんにお願いできますか。

山田""",
    )

    yield message(
        "Tue Apr 04 09:05:00 2000",
        LF,
        f"""Date: Tue, 4 Apr 2000 09:05:00 +0900
From: "高橋 美紀" <miki@example.org>
To: 山田 太郎 <taro@example.jp>
Subject: Re: 来週の打ち合わせについて
Message-Id: {ID_SIBLING}
In-Reply-To: {ID_MEETING}
Content-Type: text/plain; charset="Shift_JIS\"""",
        """高橋です。出席します。

> 資料は次のページに置きました。
> http://www.example.com/project/meeting/20000410.html

資料を拝見しました。質問は当日にまとめてお聞きします。""",
    )

    agenda_boundary = "------------EK0405A1B2C3"
    agenda_part = "\n".join(base64_lines(AGENDA.encode("cp932")))
    yield message(
        "Wed Apr 05 11:30:00 2000",
        LF,
        f"""Date: Wed, 05 Apr 2000 11:30:00 +0900
From: 山田 太郎 <taro@example.jp>
To: 開発チーム <dev@example.jp>
Subject: 打ち合わせ資料の送付
Message-Id: <20000405113000.F6006@mail.example.jp>
MIME-Version: 1.0
Content-Type: multipart/mixed; boundary="{agenda_boundary}\"""",
        f"""This is a multi-part message in MIME format.
--{agenda_boundary}
Content-Type: text/plain; charset="Shift_JIS"
Content-Transfer-Encoding: 8bit

皆さん

10日の打ち合わせの議題を添付します。
追加したい議題があれば返信してください。

山田
--{agenda_boundary}
Content-Type: text/plain; charset="Shift_JIS"; name="agenda.txt"
Content-Transfer-Encoding: base64
Content-Disposition: attachment; filename="agenda.txt"

{agenda_part}
--{agenda_boundary}--""",
    )

    photo_boundary = "----=_NextPart_000_0012_01BF9E2A.5C4D3E20"
    photo_part = "\n".join(base64_lines(PIXEL_GIF))
    yield message(
        "Thu Apr 06 20:14:09 2000",
        CRLF,
        f"""Date: Thu, 06 Apr 2000 20:14:09 +0900
From: 田中 次郎 <jiro@example.com>
To: 小林 さくら <sakura@example.jp>
Subject: 写真を送ります
Message-Id: {ID_PHOTO}
MIME-Version: 1.0
Content-Type: multipart/mixed;
\tboundary="{photo_boundary}\"""",
        f"""--{photo_boundary}
Content-Type: text/plain; charset="Shift_JIS"
Content-Transfer-Encoding: 8bit

小林さん

田中です。先日の花見の写真を送ります。
大きな写真は http://photo.example.com/album/2000/hanami/ に載せました。

--{photo_boundary}
Content-Type: image/gif; name="hanami.gif"
Content-Transfer-Encoding: base64
Content-Disposition: attachment; filename="hanami.gif"

{photo_part}

--{photo_boundary}--""",
    )

    # The line after the quoted message-start line is not a status line, so the
    # quoted copy stays part of this message's body.
    yield message(
        "Fri Apr 07 07:45:30 2000",
        LF,
        """From: 中村 三郎 <saburo@example.org>
To: 山田 太郎 <taro@example.jp>
Subject: 日付のないメール
Message-Id: <H8008.saburo@example.org>""",
        """中村です。このメールには Date の行がありません。

古いメールの控えを貼っておきます。
From - Sun Jan 02 15:04:05 2000
Subject: 古い控え

控えはここまでです。""",
    )

    yield message(
        "Fri Apr 07 12:00:00 2000",
        CRLF,
        """Date: 7 Apr 2000 12:00:00 +0900
From: システム管理者 <admin@example.jp>
To: all@example.jp
Subject: 【お知らせ】4月8日(土)のサーバ保守作業と
 メールの一時停止について
Message-Id: <20000407120000.I9009@mail.example.jp>
Content-Type: text/plain; charset="Shift_JIS\"""",
        """社員各位

システム管理者です。次の日程でサーバの保守作業を行います。

  4月8日(土) 22:00から翌2:00まで

作業中はメールの送受信ができません。
詳しくは https://www.example.jp/notice/maintenance.html をご覧ください。
古い案内は http://www.example.jp/notice/ にあります。

問い合わせ先: admin@example.jp (内線 1234)""",
    )

    yield message(
        "Sat Apr 08 06:00:00 2000",
        LF,
        """Date: Sat, 08 Apr 2000 06:00:00 +0900 (JST)
From: info@example.com (サンプル通信編集部)
To: reader@example.org
Subject: サンプル通信 第12号
Message-Id: <news.0012@example.com>
Content-Type: text/plain; charset="Shift_JIS\"""",
        """━━━━━━━━━━━━━━━━━━━━
  サンプル通信 第12号
━━━━━━━━━━━━━━━━━━━━

■今週の話題
春の新製品を紹介します。http://www.example.com/products/spring/
写真つきの記事は http://www.example.com/news/0012.htmlをご覧ください。

■リンク集
  http://www.example.org/  http://www.example.net/

配信の停止は unsubscribe@example.com へ。
編集部: info@example.com""",
    )

    yield message(
        "Sat Apr 08 10:31:07 2000",
        CRLF,
        f"""Date: Sat, 08 Apr 2000 10:31:07 +0900
From: 小林 さくら <sakura@example.jp>
To: 田中 次郎 <jiro@example.com>
Subject: Re: 写真を送ります
Message-Id: <20000408103107.K1011@example.jp>
In-Reply-To: {ID_PHOTO}
Content-Type: text/plain; charset="Shift_JIS\"""",
        """田中さん

｜先日の花見の写真を送ります。

ありがとうございます。きれいに撮れていますね。
アルバムも見ました。

さくら""",
    )

    yield message(
        "Sun Apr 09 16:45:00 2000",
        LF,
        """Date: Sun, 09 Apr 2000 16:45:00 -0700
From: "John Smith" <john@example.org>
To: taro@example.jp
Subject: Hello from Example Org
Message-Id: <L1212.john@example.org>
Content-Type: text/plain; charset="us-ascii\"""",
        """Hi Taro,

Thanks for the meeting notes. See http://www.example.org/notes/ for ours.

John""",
    )


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "samples", "sample.mbx")
    text = PREAMBLE + LF + "".join(messages())
    with open(out, "wb") as f:
        f.write(text.encode("cp932"))


if __name__ == "__main__":
    main()

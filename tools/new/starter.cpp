// The starter story and the author's README of a new game folder.
#include "starter.h"

const char STARTER_STORY[] = R"(## ひな形の物語。veltrane-new が作りました。好きなように書き換えてください。
## このファイル txt/config.utf8.txt は原稿で、エンジンが読むのは txt/config.tda です。
## 書き換えたら、ゲームフォルダで次の二つを実行してから遊びます。
##   veltrane-convert txt/config.utf8.txt txt/config.tda
##   veltrane-lint
## 「##」で始まる行はコメントで、画面には出ません。
##
## スタートメニュー（gdat/start.bgh）を左上 (220, 140) に出し、ボタンが押されるまで待つ。
#start_menu 220, 140
## 場面はラベルではじめ、その背景と文字の四角をすぐ後で決める。--label で途中から試しても、同じ画面になる。
*はじまり:
## 背景の絵 gdat/first.bgh を読み込み、黒い画面からフェードインする。
#g_load BG first.bgh
#fade_in
## 文字を打つ四角（左, 上, 右, 下）を、背景の下の暗い帯に合わせる。
#set_text_area 44, 300, 596, 460
　日が沈んで、丘の上に最初の星が出た。#wait
;
　ここから、あなたの物語がはじまります。;
　文章は一文字ずつ打ち出され、クリックを待ちます。#wait
## 文字を消して、帯の一行目から書き直す。
#page
　どちらへ行こうか。
## 三つの選択肢。選ばれた行の順に、/ で区切った三つの分岐のどれかが進む。
#select3 {
丘を越えていく
星を数えて待つ
来た道を引き返す
/#flag_on 1
　わたしは丘を越えて、まだ見ない町へ歩きだした。#wait
/#flag_on 2
　わたしは草の上に座って、星をひとつずつ数えた。#wait
/#flag_on 3
　わたしは振り返って、灯りのともる家へ戻った。#wait
}
#page
## フラグ 2 がオンなら一つ目の分岐、オフなら二つ目の分岐が進む。
#if_flag 2 {
　数えきれないほどの星が、夜空に広がっていた。#wait
/
　見上げると、星がいっそう明るくなっていた。#wait
}
;
## 続きを別のファイル txt/chapter2.tda に書いたら、その中のラベルへ次のように飛ぶ。
## #file_change chapter2.tda *第二章:
　――おしまい――#wait
#halt
)";

std::string Starter_readme(const std::string& dir) {
    return R"(A new Veltrane game folder
==========================

This folder is a game that plays as it is: a title with a start button, a few
lines of story, a three-way choice and an end. Make it yours.

Play it:        veltrane )" +
           dir + R"(
                (or, inside the folder: veltrane)
Edit the story: txt/config.utf8.txt, in UTF-8, with any editor. Lines that
                start with ## are comments that say what each command does.
Convert it:     veltrane-convert txt/config.utf8.txt txt/config.tda
                The engine reads txt/config.tda: Shift-JIS with CR LF line
                ends. Convert after every edit, in the folder.
Check it:       veltrane-lint
                Prints nothing when all is well, else FILE:LINE: and what
                is wrong.
Read it through without a window, with a picture of every page:
                veltrane-replay --auto-click 300 --start-menu --choose 1 --shots shots .
Try a later scene without playing up to it:
                veltrane --script txt/config.tda --label '*はじまり' --flag 2

What is here
  txt/config.utf8.txt   the story you edit
  txt/config.tda        the story the engine reads (made from the one above)
  gdat/first.bgh        the background, 640 x 480; the dark band at the bottom
                        is where the text is typed (see #set_text_area)
  gdat/start.bgh        the start menu, 600 x 200: three 200 x 200 cells, the
                        normal look, the look under the pointer, and a cell
                        the engine uses itself; the button is the rectangle
                        from (42, 73) to (158, 129) of each cell
  gdat/Parts.bgh        the click cursor, 75 x 25: the cursor on black, its
                        mask (black under the cursor, white around it), and a
                        cell the engine uses itself
  gdat/back_black.bgh   the picture at start-up, 640 x 480
  wav/, MIDI/           put sound effects (.wav) and music (.mid, .mp3) here

Pictures are BMP files with the extension .bgh: repaint them in any editor
that saves BMP, keeping their sizes. Further chapters go in txt/ as their
own scripts, reached with #file_change.

The author's manual (manual.en.md, in Japanese manual.ja.md) tells every
command, every message and every program; an installed Veltrane keeps it in
share/doc/veltrane under its prefix, for example /usr/local/share/doc/veltrane.


新しい Veltrane のゲームフォルダ
================================

このフォルダは、このままで遊べるゲームです（タイトルとスタートボタン、数行の
物語、三択、おしまい）。自分の物語に書き換えてください。

遊ぶ：       veltrane )" +
           dir + R"(（フォルダの中では veltrane だけ）
書く：       txt/config.utf8.txt を UTF-8 で編集します。## で始まる行は、
             各コマンドの働きを書いたコメントです。
変換する：   veltrane-convert txt/config.utf8.txt txt/config.tda
             エンジンが読むのは Shift-JIS・改行 CR LF の txt/config.tda
             です。編集のたびにフォルダの中で変換してください。
確かめる：   veltrane-lint
             問題が無ければ何も表示せず、あれば「ファイル:行:」と内容を表示。
ウィンドウ無しで最後まで読み、ページごとの画面を残す：
             veltrane-replay --auto-click 300 --start-menu --choose 1 --shots shots .
途中の場面から試す：
             veltrane --script txt/config.tda --label '*はじまり' --flag 2

絵（.bgh）は BMP ファイルです。大きさを変えずに、BMP を保存できるお好みの
ソフトで描き直してください。gdat/first.bgh の下の暗い帯に文字が出ます。
gdat/start.bgh の各 200 x 200 のこまの (42, 73) から (158, 129) がボタン、
効果音は wav/、曲は MIDI/ に置きます。続きの章は txt/ に別のスクリプトとして
書き、#file_change で移ります。

作者マニュアル（manual.ja.md、英語版 manual.en.md）に、すべてのコマンド、
メッセージ、プログラムの説明があります。インストールした Veltrane では、
インストール先の share/doc/veltrane（例：/usr/local/share/doc/veltrane）にあります。
)";
}

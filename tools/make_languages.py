#!/usr/bin/env python3
"""Writes the shipped language files modules/i18n/lang_<code>.ini.

Each file carries the general texts 1..116 (the numbering the UI documents use), the six
message texts, the names of the mouse's button slots and the "font/cs" check value. The
check value comes from the langcs tool, which computes it with the program's own code.

usage: tools/make_languages.py [--langcs PATH] [--out DIR]
"""
import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Texts 1..116. Keep the order: the documents address each text by its number.
ENGLISH = [
    "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",
    "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5",
    "STATIC", "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE",
    "INDUCTION BRIGHTEN", "NEON", "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE",
    "SPOTLIGHT", "ROTATION",
    "SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND", "ON", "OFF",  # 26..32
    "TEXT", "SIZE", "COLOR", "BRIGHTNESS", "NORMAL", "LARGER",  # 33..38
    "SKIN 1", "SKIN 2", "SKIN 3", "SKIN 4", "SKIN 5",  # 39..43
    "MACRO", "ACTION", "KEYBOARD", "MOUSE", "MEDIA", "COMBO KEY", "MACRO",  # 44..50
    "LEFT", "RIGHT", "MIDDLE", "BACKWARD", "FORWARD",  # 51..55
    "NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP",
    "VOLUME DOWN", "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH",
    "WWW HOME", "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES",  # ..73
    "KEY", "MACRO", "COLOR", "RESET", "CANCEL", "GAMING MODE", "DELETE", "CUT", "PASTE",
    "COPY", "LOAD", "SAVE", "SENSOR",  # 74..86
    "LED POWER ON", "TWINKLING", "GLIDING", "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO",
    "FIRE KEY", "TRIPLE CLICK", "DPI SWITCH",  # 87..95
    "NORMAL PLAY", "TIMES", "ALWAYS REPEAT", "REPEAT ON PRESSED",  # 96..99
    "POLLING RATE", "CURSOR SPEED", "VERTICAL SCROLL SPEED", "DOUBLE CLICK SPEED",
    "DPI LEVEL", "DPI INDICATOR LED", "DEFAULT", "APPLY", "SCROLL SWAP", "SCROLL UP",
    "SCROLL DOWN", "LED CONTROL", "RENAME", "ALL RESET", "ALL SAVE",  # 100..114
    "DPI +", "DPI -",  # 115, 116
]

SIMPLIFIED = [
    "选项", "循环", "速度", "亮度", "方向", "涂色", "效果",
    "自定义 1", "自定义 2", "自定义 3", "自定义 4", "自定义 5",
    "常亮", "呼吸", "波浪", "感应渐暗", "跑马灯", "涟漪",
    "感应渐亮", "霓虹", "彩色跑马灯", "雨滴", "环形跑马灯",
    "聚光灯", "旋转",
    "皮肤", "声音", "动画", "语言", "背景", "开", "关",
    "文字", "大小", "颜色", "亮度", "标准", "较大",
    "皮肤 1", "皮肤 2", "皮肤 3", "皮肤 4", "皮肤 5",
    "宏", "动作", "键盘", "鼠标", "多媒体", "组合键", "宏",
    "左键", "右键", "中键", "后退", "前进",
    "下一曲", "上一曲", "停止", "播放 / 暂停", "静音", "音量增大",
    "音量减小", "媒体选择", "邮件", "计算器", "我的电脑", "网页搜索",
    "网页主页", "网页后退", "网页前进", "网页停止", "网页刷新", "网页收藏夹",
    "按键", "宏", "颜色", "重置", "取消", "游戏模式", "删除", "剪切", "粘贴",
    "复制", "载入", "保存", "传感器",
    "开机灯效", "闪烁", "滑行", "指尖流动", "垂直翻转", "悠悠球",
    "连发键", "三连击", "DPI 切换",
    "按次数播放", "次", "持续重复", "按住时重复",
    "回报率", "指针速度", "滚轮滚动速度", "双击速度",
    "DPI 档位", "DPI 指示灯", "默认", "应用", "滚轮反向", "滚轮向上",
    "滚轮向下", "灯光控制", "重命名", "全部重置", "全部保存",
    "DPI +", "DPI -",
]

TRADITIONAL = [
    "選項", "循環", "速度", "亮度", "方向", "塗色", "效果",
    "自訂 1", "自訂 2", "自訂 3", "自訂 4", "自訂 5",
    "恆亮", "呼吸", "波浪", "感應漸暗", "跑馬燈", "漣漪",
    "感應漸亮", "霓虹", "彩色跑馬燈", "雨滴", "環形跑馬燈",
    "聚光燈", "旋轉",
    "外觀", "音效", "動畫", "語言", "背景", "開", "關",
    "文字", "大小", "顏色", "亮度", "標準", "較大",
    "外觀 1", "外觀 2", "外觀 3", "外觀 4", "外觀 5",
    "巨集", "動作", "鍵盤", "滑鼠", "多媒體", "組合鍵", "巨集",
    "左鍵", "右鍵", "中鍵", "上一頁", "下一頁",
    "下一首", "上一首", "停止", "播放 / 暫停", "靜音", "音量增加",
    "音量減少", "媒體選擇", "郵件", "計算機", "我的電腦", "網頁搜尋",
    "網頁首頁", "網頁上一頁", "網頁下一頁", "網頁停止", "網頁重新整理", "網頁我的最愛",
    "按鍵", "巨集", "顏色", "重設", "取消", "遊戲模式", "刪除", "剪下", "貼上",
    "複製", "載入", "儲存", "感應器",
    "開機燈效", "閃爍", "滑行", "指尖流動", "垂直翻轉", "溜溜球",
    "連發鍵", "三連擊", "DPI 切換",
    "依次數播放", "次", "持續重複", "按住時重複",
    "回報率", "游標速度", "滾輪捲動速度", "按兩下速度",
    "DPI 段位", "DPI 指示燈", "預設", "套用", "滾輪反轉", "滾輪向上",
    "滾輪向下", "燈光控制", "重新命名", "全部重設", "全部儲存",
    "DPI +", "DPI -",
]

GERMAN = [
    "OPTIONEN", "SCHLEIFE", "TEMPO", "HELLIGKEIT", "RICHTUNG", "MALEN", "EFFEKTE",
    "EIGENE 1", "EIGENE 2", "EIGENE 3", "EIGENE 4", "EIGENE 5",
    "STATISCH", "ATMEN", "WELLE", "REAKTIV DUNKLER", "LAUFLICHT", "WELLENRINGE",
    "REAKTIV HELLER", "NEON", "LAUFLICHT BUNT", "REGEN", "LAUFLICHT KREIS",
    "SCHEINWERFER", "ROTATION",
    "DESIGN", "TON", "ANIMATIONEN", "SPRACHE", "HINTERGRUND", "AN", "AUS",
    "TEXT", "GRÖSSE", "FARBE", "HELLIGKEIT", "NORMAL", "GRÖSSER",
    "DESIGN 1", "DESIGN 2", "DESIGN 3", "DESIGN 4", "DESIGN 5",
    "MAKRO", "AKTION", "TASTATUR", "MAUS", "MEDIEN", "TASTENKOMBINATION", "MAKRO",
    "LINKS", "RECHTS", "MITTE", "ZURÜCK", "VORWÄRTS",
    "NÄCHSTER TITEL", "VORHERIGER TITEL", "STOPP", "WIEDERGABE / PAUSE", "STUMM", "LAUTER",
    "LEISER", "MEDIENAUSWAHL", "E-MAIL", "RECHNER", "ARBEITSPLATZ", "WEB-SUCHE",
    "WEB-STARTSEITE", "WEB ZURÜCK", "WEB VORWÄRTS", "WEB STOPP", "WEB AKTUALISIEREN",
    "WEB-FAVORITEN",
    "TASTE", "MAKRO", "FARBE", "ZURÜCKSETZEN", "ABBRECHEN", "SPIELMODUS", "LÖSCHEN",
    "AUSSCHNEIDEN", "EINFÜGEN", "KOPIEREN", "LADEN", "SPEICHERN", "SENSOR",
    "LICHT BEIM EINSCHALTEN", "FUNKELN", "GLEITEN", "FINGERLAUF", "VERTIKAL KIPPEN", "JO-JO",
    "DAUERFEUER", "DREIFACHKLICK", "DPI-WECHSEL",
    "NORMAL ABSPIELEN", "MAL", "STÄNDIG WIEDERHOLEN", "WIEDERHOLEN SOLANGE GEDRÜCKT",
    "ABFRAGERATE", "ZEIGERGESCHWINDIGKEIT", "SCROLLGESCHWINDIGKEIT",
    "DOPPELKLICKGESCHWINDIGKEIT",
    "DPI-STUFE", "DPI-ANZEIGE", "STANDARD", "ÜBERNEHMEN", "SCROLLRICHTUNG TAUSCHEN",
    "SCROLLEN HOCH", "SCROLLEN RUNTER", "LICHTSTEUERUNG", "UMBENENNEN", "ALLES ZURÜCKSETZEN",
    "ALLES SPEICHERN",
    "DPI +", "DPI -",
]

FRENCH = [
    "OPTIONS", "BOUCLE", "VITESSE", "LUMINOSITÉ", "DIRECTION", "PEINTURE", "EFFETS",
    "PERSONNALISÉ 1", "PERSONNALISÉ 2", "PERSONNALISÉ 3", "PERSONNALISÉ 4", "PERSONNALISÉ 5",
    "STATIQUE", "RESPIRATION", "VAGUE", "ASSOMBRISSEMENT RÉACTIF", "CHENILLARD", "ONDULATION",
    "ÉCLAIRCISSEMENT RÉACTIF", "NÉON", "CHENILLARD MULTICOLORE", "PLUIE",
    "CHENILLARD CIRCULAIRE", "PROJECTEUR", "ROTATION",
    "THÈME", "SON", "ANIMATIONS", "LANGUE", "ARRIÈRE-PLAN", "ACTIVÉ", "DÉSACTIVÉ",
    "TEXTE", "TAILLE", "COULEUR", "LUMINOSITÉ", "NORMALE", "PLUS GRANDE",
    "THÈME 1", "THÈME 2", "THÈME 3", "THÈME 4", "THÈME 5",
    "MACRO", "ACTION", "CLAVIER", "SOURIS", "MULTIMÉDIA", "COMBINAISON", "MACRO",
    "GAUCHE", "DROIT", "MILIEU", "PRÉCÉDENT", "SUIVANT",
    "PISTE SUIVANTE", "PISTE PRÉCÉDENTE", "ARRÊT", "LECTURE / PAUSE", "MUET", "VOLUME +",
    "VOLUME -", "SÉLECTION MÉDIA", "COURRIER", "CALCULATRICE", "POSTE DE TRAVAIL",
    "RECHERCHE WEB", "ACCUEIL WEB", "WEB PRÉCÉDENT", "WEB SUIVANT", "WEB ARRÊT",
    "WEB ACTUALISER", "WEB FAVORIS",
    "TOUCHE", "MACRO", "COULEUR", "RÉINITIALISER", "ANNULER", "MODE JEU", "SUPPRIMER",
    "COUPER", "COLLER", "COPIER", "CHARGER", "ENREGISTRER", "CAPTEUR",
    "LUMIÈRE AU DÉMARRAGE", "SCINTILLEMENT", "GLISSEMENT", "DOIGTS EN MOUVEMENT",
    "BASCULE VERTICALE", "YO-YO",
    "TIR RAPIDE", "TRIPLE CLIC", "CHANGEMENT DPI",
    "LECTURE NORMALE", "FOIS", "RÉPÉTER EN CONTINU", "RÉPÉTER TANT QU'APPUYÉ",
    "TAUX D'INTERROGATION", "VITESSE DU POINTEUR", "VITESSE DE DÉFILEMENT",
    "VITESSE DU DOUBLE-CLIC",
    "NIVEAU DPI", "VOYANT DPI", "PAR DÉFAUT", "APPLIQUER", "INVERSER LA MOLETTE",
    "MOLETTE HAUT", "MOLETTE BAS", "CONTRÔLE LUMIÈRE", "RENOMMER", "TOUT RÉINITIALISER",
    "TOUT ENREGISTRER",
    "DPI +", "DPI -",
]

# msg/0..5: macro too long (title, text); unreadable picture (title, text followed by the
# path); last left button (title, question).
MESSAGES = {
    "en": [
        "Macro too long",
        "This macro is longer than the device can store. The actions that do not fit are "
        "left out.",
        "Picture not readable",
        "This picture file could not be read: ",
        "Confirm change",
        "This is the last button that works as the left mouse button. After changing it "
        "you may no longer be able to click with the mouse. Change it anyway?",
    ],
    "zh_CN": [
        "宏过长",
        "该宏超出设备可存储的长度，放不下的动作将被舍弃。",
        "无法读取图片",
        "无法读取此图片文件：",
        "确认更改",
        "这是最后一个具有鼠标左键功能的按键。更改后可能无法再用鼠标点击。仍要更改吗？",
    ],
    "zh_TW": [
        "巨集過長",
        "此巨集超出裝置可儲存的長度，放不下的動作將被捨棄。",
        "無法讀取圖片",
        "無法讀取此圖片檔案：",
        "確認變更",
        "這是最後一個具有滑鼠左鍵功能的按鍵。變更後可能無法再用滑鼠點擊。仍要變更嗎？",
    ],
    "de": [
        "Makro zu lang",
        "Dieses Makro ist länger, als das Gerät speichern kann. Aktionen, die nicht mehr "
        "passen, werden weggelassen.",
        "Bild nicht lesbar",
        "Diese Bilddatei konnte nicht gelesen werden: ",
        "Änderung bestätigen",
        "Dies ist die letzte Taste mit der Funktion der linken Maustaste. Nach der Änderung "
        "können Sie mit der Maus unter Umständen nicht mehr klicken. Trotzdem ändern?",
    ],
    "fr": [
        "Macro trop longue",
        "Cette macro dépasse ce que l'appareil peut enregistrer. Les actions en trop sont "
        "ignorées.",
        "Image illisible",
        "Impossible de lire ce fichier image : ",
        "Confirmer la modification",
        "C'est le dernier bouton qui fait office de bouton gauche de la souris. Après la "
        "modification, vous ne pourrez peut-être plus cliquer avec la souris. Modifier "
        "quand même ?",
    ],
}

# Names of the button slots the mouse has (0..6, 14, 15); every other slot stays empty,
# which hides it on the button page.
SLOTS = {
    "en": {0: "LEFT BUTTON", 1: "RIGHT BUTTON", 2: "MIDDLE BUTTON", 3: "FORWARD BUTTON",
           4: "BACKWARD BUTTON", 5: "DPI BUTTON", 6: "LIGHT BUTTON", 14: "WHEEL UP",
           15: "WHEEL DOWN"},
    "zh_CN": {0: "左键", 1: "右键", 2: "中键", 3: "前进键", 4: "后退键", 5: "DPI 键",
              6: "灯光键", 14: "滚轮向上", 15: "滚轮向下"},
    "zh_TW": {0: "左鍵", 1: "右鍵", 2: "中鍵", 3: "前進鍵", 4: "後退鍵", 5: "DPI 鍵",
              6: "燈光鍵", 14: "滾輪向上", 15: "滾輪向下"},
    "de": {0: "LINKE TASTE", 1: "RECHTE TASTE", 2: "MITTLERE TASTE", 3: "VORWÄRTS-TASTE",
           4: "ZURÜCK-TASTE", 5: "DPI-TASTE", 6: "LICHTTASTE", 14: "RAD HOCH",
           15: "RAD RUNTER"},
    "fr": {0: "BOUTON GAUCHE", 1: "BOUTON DROIT", 2: "BOUTON DU MILIEU", 3: "BOUTON AVANT",
           4: "BOUTON ARRIÈRE", 5: "BOUTON DPI", 6: "BOUTON LUMIÈRE", 14: "MOLETTE HAUT",
           15: "MOLETTE BAS"},
}

# code (QLocale language number, country number; 000 = no country) -> contents
LANGUAGES = [
    ("031000", "Arial", ENGLISH, "en"),        # ENGLISH
    ("025044", "sans-serif", SIMPLIFIED, "zh_CN"),  # CHINESE (Simp)
    ("025208", "sans-serif", TRADITIONAL, "zh_TW"),  # CHINESE (Trad)
    ("042000", "Arial", GERMAN, "de"),         # GERMAN
    ("037000", "Arial", FRENCH, "fr"),         # FRENCH
]

SLOT_SECTION = "Q7_5B7E20D"
SLOT_COUNT = 16
TEXT_COUNT = 116


def quote(text):
    # Always quoted: keeps commas from turning a text into a list and keeps leading and
    # trailing spaces (a message that is followed by a path ends in one).
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def render(family, texts, messages, slots, cs):
    lines = ["[font]", "family=" + quote(family), "total=%d" % len(texts), "cs=" + cs, "",
             "[strings]"]
    lines += ["%d=%s" % (k, quote(t)) for k, t in enumerate(texts, start=1)]
    lines += ["", "[msg]"]
    lines += ["%d=%s" % (i, quote(m)) for i, m in enumerate(messages)]
    lines += ["", "[%s]" % SLOT_SECTION]
    lines += ["%d=%s" % (j, quote(slots.get(j, ""))) for j in range(SLOT_COUNT)]
    return "\n".join(lines) + "\n"


def write_atomic(path, text):
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(tmp, path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--langcs", default=os.path.join(ROOT, "build", "tools", "langcs"))
    ap.add_argument("--out", default=os.path.join(ROOT, "modules", "i18n"))
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for code, family, texts, key in LANGUAGES:
        if len(texts) != TEXT_COUNT or len(MESSAGES[key]) != 6:
            sys.exit("lang_%s: %d texts, %d messages" % (code, len(texts), len(MESSAGES[key])))
        path = os.path.join(args.out, "lang_%s.ini" % code)
        # First without a check value, then with the one the tool reads off that file.
        write_atomic(path, render(family, texts, MESSAGES[key], SLOTS[key], ""))
        cs = subprocess.run([args.langcs, path], check=True, capture_output=True,
                            text=True).stdout.strip()
        if not cs.isdigit():
            sys.exit("langcs gave %r for %s" % (cs, path))
        write_atomic(path, render(family, texts, MESSAGES[key], SLOTS[key], cs))
        subprocess.run([args.langcs, "--check", path], check=True)
        print("%s  cs=%s" % (path, cs))


if __name__ == "__main__":
    main()

import QtQuick 2.15

// A root document that records how the backend calls it: which published names exist at
// load and at initUI, the order of the start calls, and the arguments it receives.
Item {
    id: root
    width: 1000
    height: 600

    property string namesAtLoad: ""
    property string namesAtInit: ""
    property var log: []

    function names() {
        return [typeof ui_View, typeof hid, typeof ui_Ctl].join(",")
    }
    function record(entry) {
        log = log.concat([entry])
    }

    Component.onCompleted: namesAtLoad = names()

    function initUI() {
        namesAtInit = names()
        record("initUI")
    }
    function run() {
        record("run")
    }
    function setProtectUI(interval) {
        record("setProtectUI:" + interval)
    }
    function detectKeyboard(isDown, usbCode) {
        record("keyboard:" + isDown + ":" + usbCode)
    }
    function detectMouse(isDown, code, x, y) {
        record("mouse:" + isDown + ":" + code + ":" + x + ":" + y)
    }
}

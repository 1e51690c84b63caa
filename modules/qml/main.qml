import QtQuick 2.15

// Root of the scene. The view host calls initUI() and then run() once the device check has
// accepted a mouse; the input capture calls detectKeyboard() and detectMouse(); the window
// controller calls setProtectUI(). The names ui_View, ui_Ctl and hid are published only
// after this document has loaded, so nothing here touches them before initUI().
Item {
    id: mainIten
    width: 1000
    height: 600
    visible: false

    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 800
    property string globalSetting_fontFamily: "Arial"

    signal msg_KB(bool isDown, int usbCode)
    signal emptyAreaPressed()

    function initUI() {
    }

    function run() {
        if (typeof ui_View !== "undefined")
            ui_View.playMedia_Index(0x01)
        mainIten.visible = true
        startUp.restart()
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    // Mouse events of the capture layer are accepted and change nothing.
    function detectMouse(isDown, code, x, y) {
    }

    // Locks the whole view for `interval` ms. A Timer restarts when its interval changes
    // and ignores start() while running: a different interval starts the countdown anew,
    // the same one lets the running countdown go on.
    function setProtectUI(interval) {
        protectUIItem.isBusy = true
        if (typeof ui_View !== "undefined")
            ui_View.setEnabled(false)
        tmrProtectUI.interval = interval
        tmrProtectUI.start()
    }

    MouseArea {
        id: dragRegion
        anchors.fill: parent
        hoverEnabled: true
        property real pressX: 0
        property real pressY: 0
        onPressed: function(mouse) {
            mainIten.emptyAreaPressed()
            pressX = mouse.x
            pressY = mouse.y
        }
        onPositionChanged: function(mouse) {
            if (!pressed || typeof ui_Ctl === "undefined")
                return
            ui_Ctl.onXChanged(mouse.x - pressX)
            ui_Ctl.onYChanged(mouse.y - pressY)
        }
    }

    Timer {
        id: tmrProtectUI
        interval: 1000
        repeat: false
        onTriggered: {
            if (typeof ui_View !== "undefined")
                ui_View.setEnabled(true)
            protectUIItem.isBusy = false
        }
    }

    Rectangle {
        id: envItem
        anchors.fill: parent
        radius: 12
        color: "#E0101418"
        border.color: globalSetting_color
        border.width: 1
        opacity: 0
    }

    Text {
        id: logoText
        anchors.horizontalCenter: parent.horizontalCenter
        y: 270
        opacity: 0
        text: "Q7"
        color: globalSetting_color
        font.family: globalSetting_fontFamily
        font.pixelSize: 48
        font.bold: true
    }

    Text {
        id: closeButton
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 10
        text: "\u2715"
        opacity: envItem.opacity
        color: closeArea.containsMouse ? globalSetting_color : globalSetting_color_enable
        font.pixelSize: 18
        MouseArea {
            id: closeArea
            objectName: "closeArea"
            anchors.fill: parent
            anchors.margins: -6
            hoverEnabled: true
            onClicked: {
                if (typeof ui_View !== "undefined")
                    ui_View.playMedia_Index(0x04)
                closeAnimation.restart()
            }
        }
    }

    Text {
        id: protectUIItem
        objectName: "protectUIItem"
        property bool isBusy: false
        anchors.centerIn: parent
        z: 99
        visible: isBusy
        text: "LOADING ......"
        color: globalSetting_color
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        font.bold: true
        SequentialAnimation on opacity {
            running: protectUIItem.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }

    SequentialAnimation {
        id: startUp
        NumberAnimation { target: logoText; property: "opacity"; from: 0; to: 1; duration: animation_speed; easing.type: Easing.InCirc }
        NumberAnimation { target: logoText; property: "y"; from: 270; to: 4; duration: 1.5 * animation_speed; easing.type: Easing.OutExpo }
        NumberAnimation { target: envItem; property: "opacity"; from: 0; to: 1; duration: animation_speed; easing.type: Easing.OutCirc }
    }

    SequentialAnimation {
        id: closeAnimation
        NumberAnimation { target: mainIten; property: "height"; from: 600; to: 0; duration: animation_speed; easing.type: Easing.InOutCubic }
        ScriptAction {
            script: {
                if (typeof ui_Ctl !== "undefined")
                    ui_Ctl.onMinimize()
            }
        }
    }
}

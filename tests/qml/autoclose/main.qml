import QtQuick 2.15

// A root document that reports the start calls on the debug output and closes the window
// as soon as it is run, so a whole start-up can be driven from a test.
Item {
    width: 1000
    height: 600

    function initUI() {
        console.warn("root: initUI " + (typeof ui_View) + " " + (typeof hid) + " " + (typeof ui_Ctl))
    }
    function run() {
        console.warn("root: run")
        ui_Ctl.onMinimize()
    }
}

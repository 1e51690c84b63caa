import QtQuick 2.15

// A root document without any of the functions the backend calls.
Item {
    width: 640
    height: 480
}

// A stand-in for the map page that draws nothing and records every call the
// programs make, in order, for tests. It offers the same globals as
// skyplot-map.js. Each call is kept as one line of text: the name as the
// script wrote it, then its arguments JSON-encoded as received, separated by
// commas; a LatLng argument is written as its two numbers. For example:
//   drawPlaneMarker("a.png","1","2","Aircraft")
//   map.panTo(47.5,-122.25)
//   map.setMapTypeId("terrain")
//   new google.maps.Polyline({"path":[[1,2],[3,4]],"strokeColor":"#FF00FF"})
//   polyline.setMap(map)        polyline.setMap(null)
(function (global) {
    "use strict";

    global.recordedCalls = [];

    function encode(value) {
        if (value instanceof LatLng) {
            return JSON.stringify(value.lat()) + "," + JSON.stringify(value.lng());
        }
        if (value === mapFacade) {
            return "map";
        }
        if (value === undefined) {
            return "undefined";
        }
        return JSON.stringify(value, function (key, inner) {
            return inner instanceof LatLng ? [inner.lat(), inner.lng()] : inner;
        });
    }

    function record(name, args) {
        global.recordedCalls.push(name + "(" + Array.prototype.map.call(args, encode).join(",") + ")");
    }

    function LatLng(lat, lng) {
        if (!(this instanceof LatLng)) {
            return new LatLng(lat, lng);
        }
        this._lat = Number(lat);
        this._lng = Number(lng);
    }
    LatLng.prototype.lat = function () {
        return this._lat;
    };
    LatLng.prototype.lng = function () {
        return this._lng;
    };

    var state = { center: new LatLng(0, 0), zoom: 2, mapType: "terrain" };

    var mapFacade = {
        panTo: function (latLng) {
            record("map.panTo", arguments);
            if (latLng instanceof LatLng) {
                state.center = latLng;
            }
        },
        setCenter: function (latLng) {
            record("map.setCenter", arguments);
            if (latLng instanceof LatLng) {
                state.center = latLng;
            }
        },
        getCenter: function () {
            return state.center;
        },
        setZoom: function (zoom) {
            record("map.setZoom", arguments);
            if (isFinite(Number(zoom))) {
                state.zoom = Number(zoom);
            }
        },
        getZoom: function () {
            return state.zoom;
        },
        setMapTypeId: function (id) {
            record("map.setMapTypeId", arguments);
            state.mapType = id;
        },
        getMapTypeId: function () {
            return state.mapType;
        }
    };

    function Polyline(options) {
        record("new google.maps.Polyline", arguments);
        this._map = null;
    }
    Polyline.prototype.setMap = function (target) {
        record("polyline.setMap", [target === undefined ? null : target]);
        this._map = target || null;
    };
    Polyline.prototype.getMap = function () {
        return this._map;
    };

    function recorder(name) {
        return function () {
            record(name, arguments);
        };
    }

    global.google = {
        maps: {
            LatLng: LatLng,
            MapTypeId: Object.freeze({
                ROADMAP: "roadmap",
                TERRAIN: "terrain",
                SATELLITE: "satellite",
                HYBRID: "hybrid"
            }),
            Polyline: Polyline
        }
    };
    global.map = mapFacade;
    [
        "drawPlaneMarker",
        "removePlane",
        "zoomIn",
        "zoomOut",
        "drawFltPlnMarker",
        "clearWptIcons",
        "clearFlightPlan",
        "zoomToPlan",
        "overlayChart",
        "clearChart"
    ].forEach(function (name) {
        global[name] = recorder(name);
    });

    // Hands over the calls recorded so far and starts a new record.
    global.takeRecordedCalls = function () {
        var calls = global.recordedCalls;
        global.recordedCalls = [];
        return calls;
    };
})(window);

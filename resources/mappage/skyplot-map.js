// The map page of the Vantrelle programs, on Leaflet.
//
// The programs drive the page only by running short script texts in it (see
// docs/map-page.md). Those texts were written for a page with a google.maps
// style interface, so this page offers that small interface on top of Leaflet:
// google.maps.LatLng, google.maps.MapTypeId, google.maps.Polyline, the global
// `map`, and the drawing functions below. Every entry point checks its arguments
// and does nothing with ones it cannot use, so a bad value never stops the
// scripts that follow.
(function (global) {
    "use strict";

    var PLANE_ICON_SIZE = 40;
    var CHART_OPACITY = 0.75;
    var MAX_ZOOM = 18;
    var PLAN_FIT_MAX_ZOOM = 15;

    var OSM_ATTRIBUTION =
        '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors';
    var IMAGERY_ATTRIBUTION =
        '<a href="https://s2maps.eu">Sentinel-2 cloudless - https://s2maps.eu</a> by ' +
        '<a href="https://eox.at">EOX IT Services GmbH</a> ' +
        "(Contains modified Copernicus Sentinel data 2016 &amp; 2017), CC BY 4.0";

    // Tile sources that may be used freely with the credit shown.
    var TILE_SOURCES = {
        roadmap: {
            url: "https://tile.openstreetmap.org/{z}/{x}/{y}.png",
            options: { maxNativeZoom: 19, attribution: OSM_ATTRIBUTION }
        },
        terrain: {
            url: "https://{s}.tile.opentopomap.org/{z}/{x}/{y}.png",
            options: {
                subdomains: "abc",
                maxNativeZoom: 17,
                attribution:
                    "Map data: " + OSM_ATTRIBUTION + ", SRTM | Map style: &copy; " +
                    '<a href="https://opentopomap.org">OpenTopoMap</a> ' +
                    '(<a href="https://creativecommons.org/licenses/by-sa/3.0/">CC-BY-SA</a>)'
            }
        },
        imagery: {
            url: "https://tiles.maps.eox.at/wmts/1.0.0/s2cloudless_3857/default/g/{z}/{y}/{x}.jpg",
            options: { maxNativeZoom: 14, attribution: IMAGERY_ATTRIBUTION }
        },
        labels: {
            url: "https://tiles.maps.eox.at/wmts/1.0.0/overlay_bright_3857/default/g/{z}/{y}/{x}.png",
            options: {
                maxNativeZoom: 16,
                attribution: "Labels: " + OSM_ATTRIBUTION + ", rendering &copy; EOX"
            }
        }
    };

    var MAP_TYPES = {
        roadmap: ["roadmap"],
        terrain: ["terrain"],
        satellite: ["imagery"],
        hybrid: ["imagery", "labels"]
    };

    // --- argument checks -------------------------------------------------------

    var NUMBER_TEXT = /^\s*[-+]?(\d+(\.\d*)?|\.\d+)([eE][-+]?\d+)?\s*$/;

    // A finite number from a number or a plain decimal text; NaN otherwise.
    function toNumber(value) {
        if (typeof value === "number") {
            return isFinite(value) ? value : NaN;
        }
        if (typeof value === "string" && NUMBER_TEXT.test(value)) {
            return parseFloat(value);
        }
        return NaN;
    }

    function isValidLatLng(lat, lng) {
        return !isNaN(lat) && !isNaN(lng) && lat >= -90 && lat <= 90;
    }

    function toText(value) {
        return value === undefined || value === null ? "" : String(value);
    }

    // [lat, lng] from a google.maps.LatLng, a Leaflet LatLng or {lat, lng};
    // null when unusable.
    function latLngOf(value) {
        if (!value) {
            return null;
        }
        var lat = toNumber(typeof value.lat === "function" ? value.lat() : value.lat);
        var lng = toNumber(typeof value.lng === "function" ? value.lng() : value.lng);
        return isValidLatLng(lat, lng) ? [lat, lng] : null;
    }

    // --- the Leaflet map ---------------------------------------------------------

    var leafletMap = L.map("map", {
        center: [0, 0],
        zoom: 2,
        minZoom: 0,
        maxZoom: MAX_ZOOM,
        // The page is often drawn without a graphics card; program-driven
        // changes jump rather than animate, and read back at once.
        zoomAnimation: false,
        fadeAnimation: false,
        markerZoomAnimation: false
    });
    var JUMP = { animate: false };

    var tileLayers = {};
    var activeTileNames = [];
    var currentMapType = null;

    function tileLayer(name) {
        if (!tileLayers[name]) {
            var source = TILE_SOURCES[name];
            var options = L.extend({ maxZoom: MAX_ZOOM }, source.options);
            tileLayers[name] = L.tileLayer(source.url, options);
        }
        return tileLayers[name];
    }

    function showMapType(id) {
        var key = toText(id).toLowerCase();
        if (!MAP_TYPES.hasOwnProperty(key)) {
            return;
        }
        activeTileNames.forEach(function (name) {
            leafletMap.removeLayer(tileLayers[name]);
        });
        activeTileNames = MAP_TYPES[key].slice();
        activeTileNames.forEach(function (name) {
            tileLayer(name).addTo(leafletMap);
        });
        currentMapType = key;
    }

    // --- the google.maps names ----------------------------------------------------

    function LatLng(lat, lng) {
        if (!(this instanceof LatLng)) {
            return new LatLng(lat, lng);
        }
        this._lat = toNumber(lat);
        this._lng = toNumber(lng);
    }
    LatLng.prototype.lat = function () {
        return this._lat;
    };
    LatLng.prototype.lng = function () {
        return this._lng;
    };
    LatLng.prototype.toString = function () {
        return "(" + this._lat + ", " + this._lng + ")";
    };

    var MapTypeId = Object.freeze({
        ROADMAP: "roadmap",
        TERRAIN: "terrain",
        SATELLITE: "satellite",
        HYBRID: "hybrid"
    });

    // The global `map`: the part of a google.maps.Map the programs use.
    var mapFacade = {
        leaflet: leafletMap,
        panTo: function (latLng) {
            var point = latLngOf(latLng);
            if (point) {
                leafletMap.panTo(point, JUMP);
            }
        },
        setCenter: function (latLng) {
            mapFacade.panTo(latLng);
        },
        getCenter: function () {
            var c = leafletMap.getCenter();
            return new LatLng(c.lat, c.lng);
        },
        setZoom: function (zoom) {
            var z = toNumber(zoom);
            if (!isNaN(z)) {
                leafletMap.setZoom(Math.round(z), JUMP);
            }
        },
        getZoom: function () {
            return leafletMap.getZoom();
        },
        setMapTypeId: showMapType,
        getMapTypeId: function () {
            return currentMapType;
        }
    };

    var polylinesOnMap = [];

    function Polyline(options) {
        if (!(this instanceof Polyline)) {
            return new Polyline(options);
        }
        this._options = {};
        this._map = null;
        this._layer = null;
        this.setOptions(options);
    }
    Polyline.prototype.setOptions = function (options) {
        L.extend(this._options, options || {});
        var points = [];
        (Array.isArray(this._options.path) ? this._options.path : []).forEach(function (p) {
            var point = latLngOf(p);
            if (point) {
                points.push(point);
            }
        });
        var style = {
            color: toText(this._options.strokeColor) || "#FF00FF",
            weight: isNaN(toNumber(this._options.strokeWeight))
                ? 3
                : toNumber(this._options.strokeWeight),
            opacity: isNaN(toNumber(this._options.strokeOpacity))
                ? 1
                : toNumber(this._options.strokeOpacity),
            interactive: false
        };
        if (this._layer) {
            this._layer.setLatLngs(points);
            this._layer.setStyle(style);
        } else {
            this._layer = L.polyline(points, style);
        }
    };
    Polyline.prototype.getPath = function () {
        return this._layer.getLatLngs().map(function (p) {
            return new LatLng(p.lat, p.lng);
        });
    };
    Polyline.prototype.setMap = function (target) {
        if (target === mapFacade || target === leafletMap) {
            if (!this._map) {
                this._layer.addTo(leafletMap);
                polylinesOnMap.push(this);
            }
            this._map = mapFacade;
        } else if (!target) {
            if (this._map) {
                leafletMap.removeLayer(this._layer);
                polylinesOnMap.splice(polylinesOnMap.indexOf(this), 1);
            }
            this._map = null;
        }
    };
    Polyline.prototype.getMap = function () {
        return this._map;
    };

    // --- the aircraft ------------------------------------------------------------

    var plane = null; // { marker, icon, title }

    function drawPlaneMarker(icon, lat, lng, title) {
        var la = toNumber(lat);
        var ln = toNumber(lng);
        var url = toText(icon);
        if (!isValidLatLng(la, ln) || !url) {
            return;
        }
        // Moved in place: the aircraft is redrawn at every position report.
        if (plane && plane.icon === url && plane.title === toText(title)) {
            plane.marker.setLatLng([la, ln]);
            return;
        }
        removePlane();
        var half = PLANE_ICON_SIZE / 2;
        var marker = L.marker([la, ln], {
            icon: L.icon({
                iconUrl: url,
                iconSize: [PLANE_ICON_SIZE, PLANE_ICON_SIZE],
                iconAnchor: [half, half]
            }),
            title: toText(title),
            keyboard: false,
            interactive: false,
            zIndexOffset: 1000
        }).addTo(leafletMap);
        plane = { marker: marker, icon: url, title: toText(title) };
    }

    function removePlane() {
        if (plane) {
            leafletMap.removeLayer(plane.marker);
            plane = null;
        }
    }

    // --- the flight plan ---------------------------------------------------------

    var planMarkers = []; // { marker, icon, html }

    function drawFltPlnMarker(icon, lat, lng, html) {
        var la = toNumber(lat);
        var ln = toNumber(lng);
        var url = toText(icon);
        if (!isValidLatLng(la, ln) || !url) {
            return;
        }
        var img = document.createElement("img");
        img.src = url;
        img.alt = "";
        var marker = L.marker([la, ln], {
            // The info window's tip stops just above the centred picture.
            icon: L.divIcon({
                html: img,
                className: "vtl-plan-icon",
                iconSize: null,
                popupAnchor: [0, -8]
            }),
            keyboard: false
        });
        // The program has already escaped the names inside the HTML.
        marker.bindPopup(toText(html));
        marker.addTo(leafletMap);
        planMarkers.push({ marker: marker, icon: url, html: toText(html) });
    }

    function clearWptIcons() {
        planMarkers.forEach(function (entry) {
            leafletMap.removeLayer(entry.marker);
        });
        planMarkers = [];
    }

    function clearFlightPlan() {
        var line = global.flightplan;
        if (line && typeof line.setMap === "function") {
            line.setMap(null);
        }
    }

    function zoomToPlan(lat1, lng1, lat2, lng2) {
        var a = [toNumber(lat1), toNumber(lng1)];
        var b = [toNumber(lat2), toNumber(lng2)];
        if (!isValidLatLng(a[0], a[1]) || !isValidLatLng(b[0], b[1])) {
            return;
        }
        leafletMap.fitBounds([a, b], {
            animate: false,
            padding: [20, 20],
            maxZoom: PLAN_FIT_MAX_ZOOM
        });
    }

    // --- zoom buttons ------------------------------------------------------------

    function zoomIn() {
        leafletMap.zoomIn(1, JUMP);
    }

    function zoomOut() {
        leafletMap.zoomOut(1, JUMP);
    }

    // --- chart overlay -------------------------------------------------------------

    var chart = null; // { overlay, url, bounds }

    // west/east longitudes, north/south latitudes.
    function overlayChart(url, west, east, north, south) {
        var w = toNumber(west);
        var e = toNumber(east);
        var n = toNumber(north);
        var s = toNumber(south);
        var address = toText(url);
        if (!address || isNaN(w) || isNaN(e) || !isValidLatLng(n, 0) || !isValidLatLng(s, 0)) {
            return;
        }
        clearChart();
        var overlay = L.imageOverlay(address, [[s, w], [n, e]], {
            opacity: CHART_OPACITY,
            interactive: false
        });
        overlay.on("load", function () {
            if (chart && chart.overlay === overlay) {
                global.chartImageLoaded = true;
            }
        });
        overlay.on("error", function () {
            if (chart && chart.overlay === overlay) {
                global.chartImageLoaded = false;
            }
        });
        chart = { overlay: overlay, url: address, bounds: { west: w, east: e, north: n, south: s } };
        overlay.addTo(leafletMap);
    }

    function clearChart() {
        if (chart) {
            leafletMap.removeLayer(chart.overlay);
            chart = null;
        }
        global.chartImageLoaded = null;
    }

    // --- read-back for tests ---------------------------------------------------

    function skyplotState() {
        var c = leafletMap.getCenter();
        var line = global.flightplan;
        return {
            center: [c.lat, c.lng],
            zoom: leafletMap.getZoom(),
            mapType: currentMapType,
            tileLayers: activeTileNames.slice(),
            plane: plane
                ? {
                      icon: plane.icon,
                      title: plane.title,
                      lat: plane.marker.getLatLng().lat,
                      lng: plane.marker.getLatLng().lng
                  }
                : null,
            planMarkers: planMarkers.map(function (entry) {
                var p = entry.marker.getLatLng();
                return { icon: entry.icon, lat: p.lat, lng: p.lng, html: entry.html };
            }),
            flightplanOnMap: !!(line && line instanceof Polyline && line.getMap() === mapFacade),
            polylines: polylinesOnMap.map(function (line) {
                return line._layer.getLatLngs().map(function (p) {
                    return [p.lat, p.lng];
                });
            }),
            chart: chart ? { url: chart.url, bounds: L.extend({}, chart.bounds) } : null
        };
    }

    // --- globals -------------------------------------------------------------------

    global.google = global.google || {};
    global.google.maps = {
        LatLng: LatLng,
        MapTypeId: MapTypeId,
        Polyline: Polyline
    };
    global.map = mapFacade;
    global.drawPlaneMarker = drawPlaneMarker;
    global.removePlane = removePlane;
    global.zoomIn = zoomIn;
    global.zoomOut = zoomOut;
    global.drawFltPlnMarker = drawFltPlnMarker;
    global.clearWptIcons = clearWptIcons;
    global.clearFlightPlan = clearFlightPlan;
    global.zoomToPlan = zoomToPlan;
    global.overlayChart = overlayChart;
    global.clearChart = clearChart;
    global.skyplotState = skyplotState;
    global.chartImageLoaded = null;

    showMapType(MapTypeId.TERRAIN);
})(window);

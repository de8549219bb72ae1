// png.mjs: reads the 8-bit RGB/RGBA PNG files that Chromium's screen shots
// and the desktop game's captures are, into RGBA pixels, for the browser tests'
// pixel checks. Pure node (zlib); no other PNG kinds are needed.
import { inflateSync } from 'node:zlib';

const SIGNATURE_BYTES = 8;
const COLOR_TYPE_RGB = 2;
const COLOR_TYPE_RGBA = 6;

// { width, height, pixels: Uint8Array RGBA, at(x, y) -> [r, g, b, a] }.
export function decodePng(buffer) {
  let offset = SIGNATURE_BYTES;
  let width = 0, height = 0, colorType = 0;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('latin1', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      colorType = body[9];
      if (body[8] !== 8 || body[12] !== 0 ||
          (colorType !== COLOR_TYPE_RGB && colorType !== COLOR_TYPE_RGBA)) {
        throw new Error('only 8-bit, non-interlaced RGB or RGBA PNG files are read');
      }
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  const channels = colorType === COLOR_TYPE_RGBA ? 4 : 3;
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  // Undo each row's filter (none, sub, up, average, Paeth).
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? rows[y * stride + i - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + i] : 0;
      const c = y > 0 && i >= channels ? rows[(y - 1) * stride + i - channels] : 0;
      let predictor = 0;
      if (filter === 1) predictor = a;
      else if (filter === 2) predictor = b;
      else if (filter === 3) predictor = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      rows[y * stride + i] = (line[i] + predictor) & 0xff;
    }
  }
  const pixels = new Uint8Array(width * height * 4);
  for (let p = 0; p < width * height; ++p) {
    for (let k = 0; k < 3; ++k) pixels[p * 4 + k] = rows[p * channels + k];
    pixels[p * 4 + 3] = channels === 4 ? rows[p * channels + 3] : 255;
  }
  return { width, height, pixels, at: (x, y) => [...pixels.subarray((y * width + x) * 4, (y * width + x) * 4 + 4)] };
}

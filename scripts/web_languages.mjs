// web_languages.mjs: the game's languages in the web folder, written into OUT
// for the web folder's install rules (packaging/install_web.cmake). For each
// language of po/LINGUAS it writes languages/<language>.json, the page's
// sentences (its SAY table) in that language from the catalogue
// po/<language>.po, with the names of the language's pictures, and copies
// those pictures from ASSETS/images/<language>/ to images/<language>/. Then it
// writes the page PAGE as OUT/index.html with the languages named; the page
// fetches a language's files only for a player who plays in it. A sentence
// the catalogue lacks stays English.
//
// Usage: node scripts/web_languages.mjs PAGE ASSETS OUT   (from the project root)
import { copyFileSync, existsSync, mkdirSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [page, assets, site] = process.argv.slice(2);
// Where the page lists the languages it may fetch.
const LANGUAGES_SLOT = 'const LANGUAGES = [];';

// The page's SAY table, as the page itself reads it: the object literal
// between its opening line and the first line that closes it.
function sayTable(html) {
  const table = html.match(/const SAY = (\{[\s\S]*?\n\s*\});/);
  if (!table) throw new Error(`${page} has no SAY table`);
  return new Function(`return ${table[1]};`)();
}

// The translated messages of a PO file, by their English text; fuzzy and
// untranslated ones are left out, as msgfmt leaves them out.
function catalogue(path) {
  const messages = new Map();
  let entry = {};
  let field = null;
  const finish = () => {
    if (entry.msgid && entry.msgstr && !entry.fuzzy && entry.msgctxt === undefined) {
      messages.set(entry.msgid, entry.msgstr);
    }
    entry = {};
    field = null;
  };
  for (const line of readFileSync(path, 'utf8').split('\n')) {
    const keyword = line.match(/^(msgctxt|msgid|msgstr) "(.*)"$/);
    if (keyword) {
      if (keyword[1] !== 'msgstr' && field === 'msgstr') finish();
      field = keyword[1];
      entry[field] = JSON.parse(`"${keyword[2]}"`);
    } else if (line.startsWith('"') && field) {
      entry[field] += JSON.parse(line);
    } else if (line.startsWith('#,') && line.includes('fuzzy')) {
      if (field === 'msgstr') finish();
      entry.fuzzy = true;
    } else if (line.trim() === '') {
      if (field === 'msgstr') finish();
    }
  }
  finish();
  return messages;
}

const html = readFileSync(page, 'utf8');
if (!html.includes(LANGUAGES_SLOT)) throw new Error(`${page} has no "${LANGUAGES_SLOT}"`);
const say = sayTable(html);
const languages = readFileSync('po/LINGUAS', 'utf8').replace(/#.*/g, '').split(/\s+/).filter(Boolean);
const served = [];
for (const language of languages) {
  const pictures = join(assets, 'images', language);
  if (!existsSync(pictures)) continue;
  const messages = catalogue(join('po', `${language}.po`));
  const translated = {};
  for (const [key, english] of Object.entries(say)) {
    if (messages.has(english)) translated[key] = messages.get(english);
  }
  const names = readdirSync(pictures).filter((name) => name.endsWith('.png')).sort();
  mkdirSync(join(site, 'images', language), { recursive: true });
  for (const name of names) copyFileSync(join(pictures, name), join(site, 'images', language, name));
  mkdirSync(join(site, 'languages'), { recursive: true });
  writeFileSync(join(site, 'languages', `${language}.json`),
    `${JSON.stringify({ say: translated, pictures: names }, null, 1)}\n`);
  served.push(language);
  console.log(`${language}: ${Object.keys(translated).length} of ${Object.keys(say).length} sentences, ${names.length} pictures`);
}
writeFileSync(join(site, 'index.html'), html.replace(LANGUAGES_SLOT, `const LANGUAGES = ${JSON.stringify(served)};`));

// The entry of the libraries' own bundle (see formula-libraries.js): KaTeX and
// highlight.js with its common languages. Each sets itself up when first used.
import katex from 'katex';
import hljs from 'highlight.js/lib/common';

export { katex, hljs };

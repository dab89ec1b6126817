// An X server of its own for a benchmark (-displayfd picks a free display
// number): its display name, and stop() that resolves once the server has ended.
import { spawn } from 'node:child_process';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function startXvfb(screen = '1280x900x24') {
  const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', screen, '-nolisten', 'tcp', '-noreset'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  let text = '';
  server.stdio[3].on('data', (chunk) => { text += chunk; });
  while (!/\d+\n/.test(text)) await sleep(20);
  return {
    display: `:${text.trim()}`,
    stop: async () => {
      server.kill();
      await new Promise((done) => (server.exitCode !== null ? done() : server.on('exit', done)));
    },
  };
}

// Writes arm_three.glb with three.js's GLTFExporter: a two-bone arm (a strip along x, the
// upper arm from the origin to x = 1, the forearm on to x = 2; the elbow's vertices weighed
// half to each) and two clips: "bend" turns the forearm a quarter about z in one second and
// lifts the upper arm by 0.5; "wave" turns the upper arm about y, keys at whole 24ths. And
// arm_stretch_three.glb, the same arm with one clip, "stretch": in one second the forearm's
// joint moves from x = 1 to 1.5 and the forearm grows to twice its height.
// Run from a folder whose node_modules holds three: node make_arm.mjs OUT_DIR
import * as THREE from 'three';
import { GLTFExporter } from 'three/examples/jsm/exporters/GLTFExporter.js';
import { writeFileSync } from 'fs';

// GLTFExporter reads its blobs with the browser's FileReader.
globalThis.FileReader = class {
  readAsArrayBuffer(blob) { blob.arrayBuffer().then((b) => { this.result = b; this.onloadend(); }); }
  readAsDataURL(blob) {
    blob.arrayBuffer().then((b) => {
      this.result = 'data:application/octet-stream;base64,' + Buffer.from(b).toString('base64');
      this.onloadend();
    });
  }
};

const xs = [0, 1, 2], ys = [-0.25, 0.25];
const positions = [], indices = [], skinIndex = [], skinWeight = [];
for (const y of ys) for (const x of xs) {
  positions.push(x, y, 0);
  skinIndex.push(0, 1, 0, 0);
  skinWeight.push(x === 0 ? 1 : x === 1 ? 0.5 : 0, x === 0 ? 0 : x === 1 ? 0.5 : 1, 0, 0);
}
for (const [a, b, c] of [[0, 1, 4], [0, 4, 3], [1, 2, 5], [1, 5, 4]]) indices.push(a, b, c);
const geometry = new THREE.BufferGeometry();
geometry.setAttribute('position', new THREE.Float32BufferAttribute(positions, 3));
geometry.setAttribute('skinIndex', new THREE.Uint16BufferAttribute(skinIndex, 4));
geometry.setAttribute('skinWeight', new THREE.Float32BufferAttribute(skinWeight, 4));
geometry.setIndex(indices);
geometry.computeVertexNormals();

const upper = new THREE.Bone(), fore = new THREE.Bone();
upper.name = 'upper';
fore.name = 'fore';
fore.position.set(1, 0, 0);
upper.add(fore);
const mesh = new THREE.SkinnedMesh(geometry, new THREE.MeshStandardMaterial({ color: 0xcc8844 }));
mesh.name = 'arm';
mesh.add(upper);
mesh.bind(new THREE.Skeleton([upper, fore]));
const scene = new THREE.Scene();
scene.add(mesh);

const z = new THREE.Vector3(0, 0, 1), y = new THREE.Vector3(0, 1, 0);
const quaternions = (axis, angles) =>
  angles.flatMap((a) => new THREE.Quaternion().setFromAxisAngle(axis, a).toArray());
const bend = new THREE.AnimationClip('bend', 1, [
  new THREE.QuaternionKeyframeTrack('fore.quaternion', [0, 0.5, 1], quaternions(z, [0, Math.PI / 4, Math.PI / 2])),
  new THREE.VectorKeyframeTrack('upper.position', [0, 1], [0, 0, 0, 0, 0.5, 0]),
]);
const wave = new THREE.AnimationClip('wave', 0.5, [
  new THREE.QuaternionKeyframeTrack('upper.quaternion', [0, 0.25, 0.5], quaternions(y, [0, 0.6, 0])),
]);
new GLTFExporter().parse(scene, (glb) => writeFileSync(process.argv[2] + '/arm_three.glb', Buffer.from(glb)),
                         (error) => { throw error; }, { binary: true, animations: [bend, wave] });
const stretch = new THREE.AnimationClip('stretch', 1, [
  new THREE.VectorKeyframeTrack('fore.position', [0, 1], [1, 0, 0, 1.5, 0, 0]),
  new THREE.VectorKeyframeTrack('fore.scale', [0, 1], [1, 1, 1, 1, 2, 1]),
]);
new GLTFExporter().parse(scene, (glb) => writeFileSync(process.argv[2] + '/arm_stretch_three.glb', Buffer.from(glb)),
                         (error) => { throw error; }, { binary: true, animations: [stretch] });
